// The events file beside a log read back: guards a quoted comma, quote or line
// end misread, a value, level or offset lost, a bad line that stops the reading or
// takes good lines with it, and a header taken for an event.
#include <gtest/gtest.h>

#include <fstream>

#include "history/EventsFileReading.h"
#include "tests/engine/TempFolder.h"

namespace vantrel::testing {
namespace {

using alarms::EventKind;

constexpr const char* kHeader = "time,kind,channel,level,value,text\r\n";

TEST(EventsFileReadingTest, GoodLinesReadWholeQuotedFieldsAndAll) {
    const history::EventsReading read = history::ReadEventsText(
        std::string(kHeader) +
        "2026-12-06T14:05:09.250+01:00,alarm raised,CH3,critical,81.2,CH3 above 80\r\n"
        "2026-12-06T13:05:10.000Z,marker,,,,\"pump \"\"B\"\", restarted\r\nafter oil\"\r\n"
        "2026-12-06T14:05:11.000-05:30,alarm cleared,CH3,warning,1e+30,\"\"\n");
    ASSERT_EQ(read.skippedLines, 0u);
    ASSERT_EQ(read.events.size(), 3u);
    const alarms::RunEvent& raised = read.events[0];
    EXPECT_EQ(raised.kind, EventKind::AlarmRaised);
    EXPECT_EQ(raised.at.millisecond, 250);
    EXPECT_EQ(raised.at.utcOffsetMinutes, 60);
    EXPECT_EQ(raised.channel, "CH3");
    EXPECT_EQ(raised.level, alarms::AlarmLevel::Critical);
    EXPECT_EQ(raised.value, 81.2);
    EXPECT_EQ(raised.text, "CH3 above 80");
    const alarms::RunEvent& marker = read.events[1];
    EXPECT_EQ(marker.kind, EventKind::Marker);
    EXPECT_EQ(marker.text, "pump \"B\", restarted\r\nafter oil");
    EXPECT_TRUE(marker.channel.empty());
    EXPECT_FALSE(marker.level);
    EXPECT_FALSE(marker.value);
    EXPECT_EQ(read.events[2].at.utcOffsetMinutes, -330);
    EXPECT_EQ(read.events[2].level, alarms::AlarmLevel::Warning);
    EXPECT_EQ(read.events[2].value, 1e30);
}

TEST(EventsFileReadingTest, BadLinesAreSkippedAndCountedAndTheGoodOnesAroundThemKept) {
    const std::string good = "2026-12-06T14:05:09.250+01:00,marker,,,,ok\r\n";
    const char* bad[] = {
        "2026-12-06T14:05:09.250+01:00,marker,,,\r\n",                  // five fields
        "2026-12-06T14:05:09.250+01:00,marker,,,,ok,more\r\n",          // seven
        "2026-12-06T14:05:09,marker,,,,no offset\r\n",                  // local time without it
        "2026-02-29T14:05:09.250+01:00,marker,,,,not a leap year\r\n",  // no such day
        "2026-12-06T14:05:09.250+01:00,Marker,,,,kind's case\r\n",
        "2026-12-06T14:05:09.250+01:00,alarm raised,CH3,fatal,1,level\r\n",
        "2026-12-06T14:05:09.250+01:00,alarm raised,CH3,warning,1.5x,value\r\n",
        "2026-12-06T14:05:09.250+01:00,marker,,,,\"closed\"late\r\n",  // after the quote
        "2026-12-06T14:05:09.250+01:00,marker,,,,in\"side\r\n",        // a bare quote
        "time,kind,channel,level,value,text\r\n",                      // a header mid-file
    };
    for (const char* line : bad) {
        const history::EventsReading read =
            history::ReadEventsText(std::string(kHeader) + good + line + good + "\r\n");
        EXPECT_EQ(read.events.size(), 2u) << line;
        EXPECT_EQ(read.skippedLines, 1u) << line;
    }
    // A quote left open costs its own line only.
    const history::EventsReading open =
        history::ReadEventsText(good + "2026-12-06T14:05:09.250+01:00,marker,,,,\"open\r\n" + good);
    EXPECT_EQ(open.events.size(), 2u);
    EXPECT_EQ(open.skippedLines, 1u);
}

TEST(EventsFileReadingTest, TheFileBesideTheLogIsReadWhenThere) {
    TempFolder folder;
    const std::string log = folder.file("run.csv");
    EXPECT_FALSE(history::ReadEventsFile(log).found);
    std::ofstream(log + ".events.csv", std::ios::binary)
        << kHeader << "2026-12-06T14:05:09.250+01:00,task started,,,,\r\n";
    const history::EventsFile file = history::ReadEventsFile(log);
    EXPECT_TRUE(file.found);
    ASSERT_EQ(file.reading.events.size(), 1u);
    EXPECT_EQ(file.reading.events[0].kind, EventKind::TaskStarted);
}

}  // namespace
}  // namespace vantrel::testing
