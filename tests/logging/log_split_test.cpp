// Split log files, durability and disk space, on real files with the fake clock.
// Guards against: a record lost, repeated or reordered at a switch, a new file
// without its header or under a wrong name, the switch a record late or early, a
// record larger than the limit starting file after file, records for a folder that
// went away lost when the switch cannot be made; a record not handed to the disk
// under sync=record, the disk asked more often than the interval, or at all under
// sync=none; a torn last line glued to the next record; the low-space warning
// missing, repeated within one episode, or stopping the log.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "logging/DataLogger.h"
#include "logging/SaveOptions.h"
#include "platform/DateTimeText.h"
#include "tests/engine/TempFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

// Real files, with what the logger asks of the disk counted and the free space
// set by the test.
class WatchedSink : public DiskLogFileSink {
  public:
    std::optional<std::string> append(const std::string& path, std::string_view text,
                                      Flush flush) override {
        onDisk += flush == Flush::ToDisk ? 1 : 0;
        return DiskLogFileSink::append(path, text, flush);
    }
    std::optional<std::string> flushToDisk(const std::string& path) override {
        ++flushes;
        return DiskLogFileSink::flushToDisk(path);
    }
    std::optional<std::uintmax_t> freeSpace(const std::string&) override { return freeMb << 20; }

    int onDisk = 0;
    int flushes = 0;
    std::uintmax_t freeMb = 1000;
};

class LogSplitTest : public ::testing::Test {
  protected:
    LogSplitTest() {
        fs::create_directory(stick);
        state.AppDir = folder.path().string();
        state.CardConnected1 = state.SaveChannel[0] = state.SaveChannel[9] = true;
        state.ChannelName[0] = "A";
        state.ChannelName[9] = "B";
        ConvertedFrame frame;
        frame.scaled[0] = 0.5;
        logger.TakeFrame(frame);
        clock.current = {2026, 12, 6, 23, 59, 50};
    }

    // OK in the save options window: headers, serial numbers, a record every second.
    void Start(const LoggingPreferences& preferences, bool headers = true) {
        logger.setPreferences(preferences);
        SaveOptionsChoice choice{logFile, {}, headers, 1, 1, 1, 1};
        std::copy_n(state.ChannelName.begin(), kUsedChannels, choice.channelNames.begin());
        ASSERT_FALSE(ApplySaveOptions(state, choice, sink, clock.current));
    }

    // Ticks one second apart on the clock.
    void Tick(int seconds = 1) {
        for (int i = 0; i < seconds; ++i) {
            clock.current = platform::LocalDateTime(platform::UtcMilliseconds(clock.current) + 1000,
                                                    clock.current.utcOffsetMinutes);
            logger.Tick();
        }
    }

    // The log files in name order, the user's first, each read whole.
    std::vector<std::pair<std::string, std::string>> Files() const { return folder.files("stick"); }

    // Every file starts with the header; their records, file after file, are
    // serial numbers 1 to count, each once.
    void ExpectEveryRecordOnceInOrder(std::size_t fileCount, int count) {
        const auto files = Files();
        ASSERT_EQ(files.size(), fileCount);
        int expected = 1;
        for (const auto& [name, text] : files) {
            ASSERT_TRUE(text.starts_with(header)) << name;
            std::istringstream lines(text.substr(header.size()));
            for (std::string line; std::getline(lines, line);) {
                EXPECT_EQ(line, std::to_string(expected++) + ",0.5,0\r") << name;
            }
        }
        EXPECT_EQ(expected, count + 1);
    }

    TempFolder folder;
    std::string stick = folder.file("stick");
    std::string logFile = stick + "/run.csv";
    const std::string header = "SN,A,B\r\n";
    AcquisitionState state;
    testing::FakeClock clock;
    testing::FakeDialogs dialogs;
    WatchedSink sink;
    DataLogger logger{state, clock, dialogs, sink};
};

TEST_F(LogSplitTest, DailyTheFirstRecordAfterEachMidnightStartsADatedFileWithTheHeader) {
    Start({.split = LogSplit::Daily});
    Tick(15);  // past the first midnight, at 00:00:00 the 7th
    clock.current = {2026, 12, 7, 23, 59, 58};
    Tick(4);  // 23:59:59, then the 8th from 00:00:00 on
    ExpectEveryRecordOnceInOrder(3, 19);
    const auto files = Files();
    EXPECT_EQ(files[1].first, "run-20261207-000000.csv");
    EXPECT_EQ(files[2].first, "run-20261208-000000.csv");
    EXPECT_EQ(state.LogFileInUse, stick + "/run-20261208-000000.csv");
    EXPECT_EQ(state.LogFileName, logFile);
}

TEST_F(LogSplitTest, SizeTheRecordThatWouldPassTheLimitStartsANewFileAndNothingIsLostMeanwhile) {
    Start({.split = LogSplit::Size, .splitSizeKb = 1});
    Tick(100);
    // The folder goes away: no new file can start, and records wait for the old one,
    // in the journal too.
    fs::rename(stick, stick + ".gone");
    Tick(30);
    EXPECT_TRUE(fs::exists(folder.file("vantrel.journal")));
    ASSERT_EQ(dialogs.nonBlockingMessages.size(), 1u);  // a save error; no split notice stacks
    fs::rename(stick + ".gone", stick);
    Tick(100);
    ExpectEveryRecordOnceInOrder(3, 230);
    // Records 131 to 222 fill 1020 bytes with the header; 223 would pass 1024.
    EXPECT_EQ(Files()[1].second.size(), header.size() + 92 * 11);
    for (const auto& [name, text] : Files()) {
        EXPECT_TRUE(std::regex_match(name, std::regex(R"(run(-20261207-000[0-9]{3})?\.csv)")))
            << name;
    }
    EXPECT_FALSE(fs::exists(folder.file("vantrel.journal")));
}

TEST_F(LogSplitTest, AHeaderLargerThanTheLimitStillTakesOneRecordPerFile) {
    state.ChannelName[0] = std::string(1100, 'A');
    Start({.split = LogSplit::Size, .splitSizeKb = 1});
    Tick(3);
    const auto files = Files();
    ASSERT_EQ(files.size(), 3u);
    for (std::size_t i = 0; i < files.size(); ++i) {
        EXPECT_TRUE(files[i].second.ends_with("\r\n" + std::to_string(i + 1) + ",0.5,0\r\n"));
    }
}

TEST_F(LogSplitTest, EachSyncChoiceAsksTheDiskAsOftenAsItSays) {
    // Sync choice, then after seven ticks and after Close: records appended to the
    // disk, and flushes of what the system held.
    const std::tuple<LogSync, int, int, int> cases[] = {
        {LogSync::Record, 7, 0, 0}, {LogSync::Interval, 0, 2, 3}, {LogSync::None, 0, 0, 0}};
    for (const auto& [sync, onDisk, flushes, flushesAtClose] : cases) {
        sink.onDisk = sink.flushes = 0;
        Start({.sync = sync, .syncIntervalS = 3});
        Tick(7);
        EXPECT_EQ(std::pair(sink.onDisk, sink.flushes), std::pair(onDisk, flushes));
        logger.Close();
        EXPECT_EQ(sink.flushes, flushesAtClose);
    }
}

TEST_F(LogSplitTest, ATornLastLineGetsItsLineEndBeforeTheNextRecord) {
    const std::pair<const char*, const char*> cases[] = {
        {"1,0.5,0\r\n2,0.", "1,0.5,0\r\n2,0.\r\n1,0.5,0\r\n"},
        {"1,0.5,0\r\n2,0.5,0\r", "1,0.5,0\r\n2,0.5,0\r\n1,0.5,0\r\n"}};
    for (const auto& [torn, mended] : cases) {
        std::ofstream(logFile, std::ios::binary) << torn;
        Start({}, false);
        Tick();
        EXPECT_EQ(Files()[0].second, mended);
    }
}

TEST_F(LogSplitTest, LowDiskSpaceWarnsOncePerEpisodeAndLoggingGoesOn) {
    Start({.lowSpaceMb = 200});
    // Free megabytes before each tick, and the warnings shown by then.
    const std::pair<std::uintmax_t, std::size_t> ticks[] = {{250, 0}, {150, 1}, {100, 1}, {210, 1},
                                                            {230, 1}, {199, 2}, {1000, 2}};
    for (const auto& [freeMb, warnings] : ticks) {
        sink.freeMb = freeMb;
        Tick();
        EXPECT_EQ(dialogs.nonBlockingMessages.size(), warnings) << freeMb;
    }
    EXPECT_EQ(dialogs.nonBlockingMessages[0].title + ": " + dialogs.nonBlockingMessages[0].text,
              "Low Disk Space: Only 150 MB are free on the disk of " + logFile +
                  " (the warning comes below 200 MB). Logging goes on; once the disk is full, "
                  "records wait until there is room.");
    EXPECT_FALSE(state.LowDiskSpace);
    ExpectEveryRecordOnceInOrder(1, 7);
}

}  // namespace
}  // namespace vantrel
