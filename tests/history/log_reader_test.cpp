// Log files read back: the logger's own, in every stamp style and separator, with
// no header, plain names or names that must be quoted, give the same values, times
// and names (a stamp field, a separator, a length or the quoting changed on one
// side only); beyond them, serial numbers told from a leading value by counting
// up, time-only stamps moving to the next day, a change of columns going into a
// group of its own, a last line still being written, and the lines that cannot be
// read named in one message. Pieces of any size read alike.
// Column layouts share one memory budget; a file growing while it is read is read
// up to its first size, then on. Units are read from "name [unit]" headings, and
// the derived channels are worked out again over each layout that names their
// channels.
#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "history/FollowedLog.h"
#include "history/LogReader.h"
#include "history/SeriesReading.h"
#include "logging/DataLogger.h"
#include "logging/LogRecord.h"
#include "logging/SaveOptions.h"
#include "platform/DateTimeText.h"
#include "tests/engine/TempFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel::history {
namespace {

// Each group as its names joined by '|', a colon and its frame count; groups apart by "; ".
std::string Groups(const HistoryDocument& document) {
    std::string text;
    for (const HistoryGroup& group : document.groups) {
        text += text.empty() ? "" : "; ";
        for (const std::string& name : group.names) {
            text += (&name == &group.names.front() ? "" : "|") + name;
        }
        text += ':' + std::to_string(group.series.appended());
    }
    return text;
}

struct Case {
    const char* text;
    Axis axis;
    const char* groups;
    std::int64_t firstX;  // of the first group, with its first value
    std::int64_t lastX;
    float firstValue;
    const char* problems;
};

constexpr std::int64_t k1405 = 1'796'565'909'000;   // 2026-12-06 14:05:09 as read (UTC)
constexpr std::int64_t k1000 = 1'796'551'200'000;   // 2026-12-06 10:00:00
constexpr std::int64_t k2359 = k1405 + 35'690'000;  // 23:59:59

const Case kCases[] = {
    {"5,1.25\r\n5,1.3\r\n", Axis::RecordNumber, "Column 1|Column 2:2", 1, 2, 5.0f, ""},
    // A time-only stamp going back moves to the next day; one staying the same does not.
    {"23:59:59,1\r\n00:00:01,2\n00:00:01,3\r\n", Axis::Time, "Column 1:3", k2359, k2359 + 2000,
     1.0f, ""},
    {"TIME,A,B\r\n10:00:00,1,2\r\n10:00:01,3\r\n10:00:02,4,5\r\n", Axis::Time, "A|B:2; Column 1:1",
     k1000, k1000 + 2000, 1.0f, ""},
    {"TIME,A\r\n10:00:00,1E-05\r\n10:00:0", Axis::Time, "A:1", k1000, k1000, 1e-5f, ""},
    {"TIME,A\r\n10:00:00,1\r\nxx\r\n10:00:01,\r\n25:00:00,1\r\n", Axis::Time, "A:1", k1000, k1000,
     1.0f, "3 lines could not be read: line 3, 4, 5"},
    {"\x7f\x45LF\x01\x02\n1.5\r\n10:00:00,2\r\n", Axis::RecordNumber, "Column 1:1", 1, 1, 1.5f,
     "2 lines could not be read: line 1, 3"},
};

// The text read whole and byte by byte, alike.
void ExpectReads(const Case& c) {
    const std::string_view text = c.text;
    for (const std::size_t piece : {text.size(), std::size_t{1}}) {
        SCOPED_TRACE(std::string(text) + " in pieces of " + std::to_string(piece));
        LogReader reader({{}, {2026, 12, 6}});
        for (std::size_t at = 0; at < text.size(); at += piece) {
            reader.feed(text.substr(at, piece));
        }
        const HistoryDocument document = reader.finish();
        EXPECT_EQ(reader.problemText(), c.problems);
        EXPECT_EQ(document.axis, c.axis);
        EXPECT_EQ(Groups(document), c.groups);
        ASSERT_FALSE(document.groups.empty());
        const ReducingSeries& first = document.groups[0].series;
        EXPECT_EQ(first.firstX(), c.firstX);
        EXPECT_EQ(first.lastX(), c.lastX);
        EXPECT_EQ(*ValueAt(first, 0, first.firstX()), c.firstValue);
    }
}

TEST(LogReader, ReadsEveryShapeWholeOrByteByByte) {
    for (const Case& c : kCases) {
        ExpectReads(c);
    }
}

TEST(LogReader, ManyUnreadableLinesAreCountedAndTheFirstTenNamed) {
    LogReader reader;
    reader.feed("1\n");
    for (int i = 0; i < 25; ++i) {
        reader.feed(std::string(70'000, 'x') + "\n?\n");
    }
    EXPECT_EQ(reader.problemText(),
              "50 lines could not be read: line 2, 3, 4, 5, 6, 7, 8, 9, 10, 11 and 40 more");
    EXPECT_EQ(reader.finish().groups[0].series.appended(), 1u);
}

TEST(LogReader, ColumnLayoutsShareTheFilesMemoryBudgetOlderOnesReducedFirst) {
    constexpr std::size_t kBudget = 1 << 20;
    // Layouts of `columns` values, one fewer each time, of 4000 records each.
    for (const auto& [layouts, columns] : {std::pair{1, 80}, {4, 40}, {16, 24}}) {
        LogReader reader({{}, {2026, 12, 6}, kBudget});
        std::size_t most = 0;
        for (int g = 0; g < layouts; ++g) {
            std::string record;
            for (int c = g; c < columns; ++c) {
                record += c + 1 < columns ? "1.5," : "2.5\n";
            }
            for (int r = 0; r < 4000; ++r) {
                reader.feed(record);
                most = std::max(most, reader.document().memoryBytes());
            }
        }
        const HistoryDocument document = reader.finish();
        EXPECT_LE(most, kBudget);
        EXPECT_GT(document.memoryBytes(), kBudget / 2);
        ASSERT_EQ(document.groups.size(), static_cast<std::size_t>(layouts));
        for (int g = 0; g < layouts; ++g) {
            const ReducingSeries& series = document.groups[static_cast<std::size_t>(g)].series;
            EXPECT_EQ(series.firstX(), g * 4000 + 1);
            EXPECT_EQ(series.appended(), 4000u);
        }
        // Older layouts are reduced first; a lone one within the whole budget.
        const std::size_t newest = layouts == 1 ? 4000 : document.groups.back().series.count(0);
        EXPECT_LT(document.groups.front().series.count(0), newest);
    }
}

TEST(LogReader, WorksOutTheDerivedChannelsAgainOverEachLayoutThatNamesTheirChannels) {
    LogDerived derived;
    derived.channelNames[0] = "Tin";
    derived.channelNames[1] = "Tout";
    derived.settings.channels = {{"dT", "K", 2, "Tout - Tin", false},
                                 {"dT2", "K", 2, "2 * dT", false},
                                 {"x3", "", 2, "ch3 * 10", false},
                                 {"ratio", "", 2, "Tout / ch5", false}};
    LogReadOptions options{{}, {2026, 12, 6}};
    options.derived = derived;
    LogReader reader(options);
    // Headings with units, then a layout without Tout, one that holds dT already,
    // and one naming a slot literally.
    reader.feed(
        "TIME,Tin [deg.C],Tout [deg.C]\r\n10:00:00,20,25.5\r\n10:00:01,21,\r\n"
        "TIME,Tin\r\n10:00:02,22\r\n"
        "TIME,Tin,Tout,dT\r\n10:00:03,1,2,7\r\n"
        "TIME,ch3\r\n10:00:04,1.5\r\n");
    const HistoryDocument document = reader.finish();
    EXPECT_EQ(Groups(document), "Tin|Tout|dT|dT2:2; Tin:1; Tin|Tout|dT|dT2:1; ch3|x3:1");
    EXPECT_EQ(document.groups[0].units, (std::vector<std::string>{"deg.C", "deg.C", "K", "K"}));
    const ReducingSeries& first = document.groups[0].series;
    EXPECT_EQ(*ValueAt(first, 2, k1000), 5.5f);
    EXPECT_EQ(*ValueAt(first, 3, k1000), 11.0f);
    // A record without Tout has an empty dT, never a made-up one.
    EXPECT_TRUE(std::isnan(*ValueAt(first, 2, k1000 + 1000)));
    // The log's own dT is kept as it was written; dT2 is worked out from Tin and Tout.
    EXPECT_EQ(*ValueAt(document.groups[2].series, 2, k1000 + 3000), 7.0f);
    EXPECT_EQ(*ValueAt(document.groups[2].series, 3, k1000 + 3000), 2.0f);
    EXPECT_EQ(*ValueAt(document.groups[3].series, 1, k1000 + 4000), 15.0f);
}

TEST(FollowedLog, AFileGrowingWhileReadEndsAtItsFirstSizeThenReadsOnWhatWasAppended) {
    const std::string path = ::testing::TempDir() + "growing.csv";
    auto append = [&](const char* text) {
        std::ofstream(path, std::ios::binary | std::ios::app) << text;
    };
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "TIME,A\r\n10:00:00,1\r\n";
    FollowedLog log(path, {{}, {2026, 12, 6}}, 4);
    const std::uint64_t size = log.fileSize().value();
    // Each piece of 4 bytes read, the logger appends a record of 12.
    const auto logger = [&](std::uint64_t) {
        append("10:00:01,3\r\n");
        return true;
    };
    EXPECT_EQ(log.readTo(size, logger), size);
    const ReducingSeries& series = log.document().groups[0].series;
    EXPECT_EQ(series.appended(), 1u);
    append("10:01:00,4");
    log.readMore(1 << 20);
    EXPECT_EQ(series.appended(), 1u + (size + 3) / 4);
    append("\r\n");
    log.readMore(1 << 20);
    EXPECT_EQ(series.lastX() - series.firstX(), 60'000);
    std::filesystem::remove(path);
    EXPECT_EQ(log.readMore(1 << 20), std::nullopt);
}

// No header, then names as they are, then names holding a comma or a separator.
constexpr std::array<std::array<const char*, 2>, 3> kNames = {
    {{"Column 1", "Column 2"}, {"Fan", "Pump"}, {"Temp, in", "A    B C"}}};
// Channels 0 and 1, one record each: every text form of a value.
constexpr float kValues[][2] = {{1.25f, -0.5f}, {12345680.0f, 1e-05f}, {0.0001f, -2.0f}};

// The stamp, the separator (SaveOptions: File > Save's comma), the names and the
// decimal mark.
using Layout = std::tuple<StampStyle, LogSeparator, int, LogDecimal>;

// The logger's file of kValues, one record a second from 14:05:09 UTC.
std::string WriteLog(const Layout& layout) {
    const auto [stamp, separator, names, decimal] = layout;
    const auto [first, second] = kNames[static_cast<std::size_t>(names)];
    vantrel::testing::TempFolder folder;
    vantrel::testing::FakeClock clock;
    vantrel::testing::FakeDialogs dialogs;
    DiskLogFileSink sink;
    AcquisitionState state;
    state.CardConnected1 = state.SaveChannel[0] = state.SaveChannel[1] = true;
    SetRecordLayout(state, {.decimal = decimal, .separator = separator});
    SaveOptionsChoice choice{folder.file("run.csv"), {first, second}, names > 0};
    choice.intervalChoice = 1;
    choice.stampStyle = CodeOf(stamp);
    // At UTC, so that the local times read as the moments themselves.
    clock.current = {2026, 12, 6, 14, 5, 9, 0, 0};
    EXPECT_FALSE(ApplySaveOptions(state, choice, sink, clock.current));
    DataLogger logger(state, clock, dialogs, sink);
    for (const auto& [a, b] : kValues) {
        ConvertedFrame frame;
        frame.scaled = {a, b};
        logger.TakeFrame(frame);
        logger.Tick();
        ++clock.current.second;
    }
    return folder.read("run.csv");
}

// Every value of the file, and its names, times and record numbers.
void ExpectReadsBack(const std::string& text, const Layout& layout) {
    const auto [stamp, separator, names, decimal] = layout;
    const auto [first, second] = kNames[static_cast<std::size_t>(names)];
    const bool timed = stamp != StampStyle::Serial && stamp != StampStyle::None;
    // The first record's moment, or its number without a time stamp.
    const std::int64_t firstX = timed ? k1405 : 1;
    const std::int64_t step = timed ? 1000 : 1;
    ExpectReads({text.c_str(), timed ? Axis::Time : Axis::RecordNumber,
                 (std::string(first) + "|" + second + ":3").c_str(), firstX, firstX + 2 * step,
                 kValues[0][0], ""});
    LogReader reader({{}, {2026, 12, 6}});
    reader.feed(text);
    const HistoryDocument document = reader.finish();
    ASSERT_EQ(document.groups.size(), 1u);
    for (std::int64_t record = 0; record < 3; ++record) {
        for (int column = 0; column < 2; ++column) {
            EXPECT_EQ(ValueAt(document.groups[0].series, column, firstX + record * step),
                      kValues[record][column])
                << text;
        }
    }
}

class LogRoundTrip : public ::testing::TestWithParam<Layout> {};

// Written and read under C, then under a German locale, whose C library decimal
// comma must reach neither the file nor its reading.
TEST_P(LogRoundTrip, TheReaderGivesBackWhatTheLoggerWroteWhateverTheProcessLocale) {
    const Layout& layout = GetParam();
    const std::string text = WriteLog(layout);
    ExpectReadsBack(text, layout);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (scripts/install-deps makes it)";
    }
    EXPECT_EQ(WriteLog(layout), text);
    ExpectReadsBack(text, layout);
    std::setlocale(LC_ALL, "C");
}

const auto kStamps = ::testing::Values(StampStyle::Serial, StampStyle::DateAndTime,
                                       StampStyle::Time, StampStyle::None, StampStyle::Iso);
const auto kNotComma = ::testing::Values(LogSeparator::FourSpaces, LogSeparator::Space,
                                         LogSeparator::Semicolon, LogSeparator::Tab);
INSTANTIATE_TEST_SUITE_P(
    EveryLayout, LogRoundTrip,
    ::testing::Combine(kStamps, ::testing::Values(LogSeparator::SaveOptions, LogSeparator::Comma),
                       ::testing::Values(0, 1, 2), ::testing::Values(LogDecimal::Point)));
INSTANTIATE_TEST_SUITE_P(EveryDecimal, LogRoundTrip,
                         ::testing::Combine(kStamps, kNotComma, ::testing::Values(0, 2),
                                            ::testing::Values(LogDecimal::Point,
                                                              LogDecimal::Comma)));

}  // namespace
}  // namespace vantrel::history
