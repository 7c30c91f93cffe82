// The events file beside the log, on real files. Guards against: a field with a
// comma, quote or line break left bare or its quotes not doubled, a level or value
// written when there is none, a value rounded; the header missing from a new or an
// empty file, or written twice; an event lost, repeated or reordered while its file
// fails, waiting only for the tick, or only in memory when the program is killed;
// events from the journal put into the records' recovery file, or a torn journal
// line written out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "logging/DataLogger.h"
#include "logging/EventLine.h"
#include "logging/SaveOptions.h"
#include "tests/engine/TempFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel {
namespace {

using alarms::AlarmLevel;
using alarms::EventKind;
using alarms::RunEvent;

RunEvent Marker(std::string text) {
    RunEvent marker;
    marker.at = {2026, 12, 6, 14, 5, 9, 250, 60};
    marker.text = std::move(text);
    return marker;
}

TEST(EventLine, QuotesOnlyFieldsThatNeedItAndLeavesMissingLevelAndValueEmpty) {
    RunEvent raised;
    raised.kind = EventKind::AlarmRaised;
    raised.at = {2026, 1, 2, 3, 4, 5, 6, -330};
    raised.channel = "CH3";
    raised.level = AlarmLevel::Critical;
    raised.value = 3.59;
    raised.text = "CH3 above 80";
    RunEvent huge = raised;
    huge.level = AlarmLevel::Warning;
    huge.value = 1e30;
    huge.channel = "A,B";
    const std::pair<RunEvent, std::string> cases[] = {
        {raised, "2026-01-02T03:04:05.006-05:30,alarm raised,CH3,critical,3.59,CH3 above 80\r\n"},
        {huge, "2026-01-02T03:04:05.006-05:30,alarm raised,\"A,B\",warning,1e+30,CH3 above 80\r\n"},
        {Marker("bath, left"), "2026-12-06T14:05:09.250+01:00,marker,,,,\"bath, left\"\r\n"},
        {Marker("say \"hi\""), "2026-12-06T14:05:09.250+01:00,marker,,,,\"say \"\"hi\"\"\"\r\n"},
        {Marker("a\r\nb"), "2026-12-06T14:05:09.250+01:00,marker,,,,\"a\r\nb\"\r\n"},
        {Marker("x\ny"), "2026-12-06T14:05:09.250+01:00,marker,,,,\"x\ny\"\r\n"},
        {Marker("plain 'quote'"), "2026-12-06T14:05:09.250+01:00,marker,,,,plain 'quote'\r\n"},
    };
    for (const auto& [event, line] : cases) {
        EXPECT_EQ(EventLine(event), line);
    }
    EXPECT_EQ(EventsFilePath("/logs/run.csv"), "/logs/run.csv.events.csv");
}

class EventsFileTest : public ::testing::Test {
  protected:
    EventsFileTest() {
        state.CardConnected1 = state.SaveChannel[0] = true;
        state.AppDir = folder;
        std::filesystem::create_directory(stick);
        const SaveOptionsChoice choice{logFile, {}, false, 1, 1, 1, 1};
        EXPECT_FALSE(ApplySaveOptions(state, choice, sink, clock.current));
    }

    void Tick() {
        ++clock.current.second;
        logger.Tick();
    }
    std::string Read(const std::string& path) const { return temp.read(path); }

    testing::TempFolder temp;
    std::string folder = temp.path().string();
    std::string stick = folder + "/stick";
    std::string logFile = stick + "/run.csv";
    std::string eventsFile = logFile + ".events.csv";
    std::string journal = folder + "/vantrel.journal";
    std::string header = "time,kind,channel,level,value,text\r\n";
    AcquisitionState state;
    testing::FakeClock clock;
    testing::FakeDialogs dialogs;
    DiskLogFileSink sink;
    DataLogger logger{state, clock, dialogs, sink};
};

TEST_F(EventsFileTest, AnEventIsWrittenAtOnceAndWhileItsFileFailsWaitsToArriveOnce) {
    // A file left empty gets its header too.
    std::ofstream{eventsFile};
    logger.TakeEvent(logFile, Marker("one"));
    EXPECT_EQ(Read(eventsFile), header + EventLine(Marker("one")));

    std::filesystem::remove_all(stick);
    logger.TakeEvent(logFile, Marker("two"));
    logger.TakeEvent(logFile, Marker("three"));
    Tick();
    EXPECT_EQ(Read(journal), "!" + eventsFile + "\r\n" + EventLine(Marker("two")) +
                                 EventLine(Marker("three")) + ">" + logFile + "\r\n1,0\r\n");
    ASSERT_EQ(dialogs.nonBlockingMessages.size(), 1u);
    EXPECT_EQ(dialogs.nonBlockingMessages[0].text,
              "Events cannot be written (" + eventsFile +
                  ": No such file or directory). They are kept and will be written as soon as "
                  "the file can be opened again.");

    std::filesystem::create_directory(stick);
    Tick();
    Tick();
    EXPECT_EQ(Read(eventsFile), header + EventLine(Marker("two")) + EventLine(Marker("three")));
    EXPECT_EQ(Read(logFile), "1,0\r\n2,0\r\n3,0\r\n");
    EXPECT_FALSE(std::filesystem::exists(journal));
}

// Whether the events file can be written again at the next start.
class EventsAfterAKill : public EventsFileTest, public ::testing::WithParamInterface<bool> {};

TEST_P(EventsAfterAKill, GoBackIntoTheirFileOrBesideTheRecordsOnesWithoutATornLine) {
    std::filesystem::remove_all(stick);
    Tick();
    logger.TakeEvent(logFile, Marker("first"));
    logger.TakeEvent(logFile, Marker("second"));
    // Killed while the journal took a third.
    std::ofstream(journal, std::ios::app) << "2026-12-06T14:05:09.250+01:00,mar";
    if (GetParam()) {
        std::filesystem::create_directory(stick);
    }

    DataLogger next{state, clock, dialogs, sink};
    const auto message = next.RecoverJournal();

    const std::string recordsSaved =
        "1 log record left waiting when the program last ended were saved in " + folder +
        "/run-unsaved-20000101-000001.csv.";
    const std::string events = folder + "/run.csv.events-unsaved-20000101-000001.csv";
    const std::string lines = EventLine(Marker("first")) + EventLine(Marker("second"));
    ASSERT_TRUE(message);
    if (GetParam()) {
        EXPECT_EQ(message->text, recordsSaved);
        EXPECT_EQ(Read(eventsFile), header + lines);
    } else {
        EXPECT_EQ(message->text,
                  recordsSaved +
                      " 2 events left waiting when the program last ended were saved in " + events +
                      ".");
        EXPECT_EQ(Read(events), lines);
    }
    EXPECT_FALSE(std::filesystem::exists(journal));
}

INSTANTIATE_TEST_SUITE_P(FileBack, EventsAfterAKill, ::testing::Bool());

}  // namespace
}  // namespace vantrel
