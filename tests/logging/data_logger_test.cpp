// Starting the logger (OK in the save options window, without the window) and its
// tick, on real files. Guards against: an interval unit off, numbering not
// restarted, a log file emptied without a dated copy of its records or an older
// copy replaced, a refused OK with a changed message, or that stores choices it
// must not, or stops, empties or redirects a running log; the first record a tick
// late or an interval off by one, ticks counted while card 1 is absent or its port
// lost or logging is off, an empty record; records for a failing file lost,
// reordered or written twice, notices stacked or missing, the bound off by one, a
// loss at exit not reported as such; new files that replace old ones, a full disk
// that goes unnoticed because it shows only when the buffered bytes are flushed;
// records stale, unanswered or waiting only in memory, header-only copies, a log
// name that is no regular file, a FIFO that blocks, a recovery name too long; an
// interval's mean, minimum or maximum that counts a failed channel, a frame of
// the interval before or carries a value into an interval that had none; the
// converted value logged instead of the scaled one, a derived value carried over
// in 'last' or counted from a frame outside its interval, a derived channel not
// marked for saving logged, a card 2 channel in card 1's slot.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "logging/DataLogger.h"
#include "logging/LogRecord.h"
#include "logging/SaveOptions.h"
#include "tests/engine/TempFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel {
namespace {

class DataLoggerTest : public ::testing::Test {
  protected:
    DataLoggerTest() {
        state.CardConnected1 = state.SaveChannel[0] = true;
        std::filesystem::create_directory(stick);
    }

    // OK in the save options window: no headers (so the file holds records only),
    // comma separator, the interval in seconds and the stamp style.
    void Start(std::int16_t interval, std::int16_t stampStyle = 3) {
        const SaveOptionsChoice choice{logFile, {}, false, 1, 1, interval, stampStyle};
        ASSERT_FALSE(ApplySaveOptions(state, choice, sink, clock.current));
    }

    // Ticks one second apart, so the time stamps show which ticks wrote; what the
    // file gained meanwhile.
    std::string Run(int ticks) {
        const std::size_t before = ReadAll(logFile).size();
        for (int i = 0; i < ticks; ++i) {
            ++clock.current.second;
            logger.Tick();
        }
        return ReadAll(logFile).substr(before);
    }

    // A path in the test's folder, or any file whole.
    std::string ReadAll(const std::string& path) const { return temp.read(path); }

    testing::TempFolder temp;
    std::string folder = temp.path().string();
    // The log file's folder, which comes and goes like a memory stick.
    std::string stick = folder + "/stick";
    std::string logFile = stick + "/run.csv";
    AcquisitionState state;
    testing::FakeClock clock;
    testing::FakeDialogs dialogs;
    DiskLogFileSink sink;
    DataLogger logger{state, clock, dialogs, sink, 4};
};

TEST(IntervalTicks, CountsSecondsMinutesOrHours) {
    EXPECT_EQ(
        std::tuple(IntervalTicks(1, IntervalUnit::Seconds), IntervalTicks(2, IntervalUnit::Minutes),
                   IntervalTicks(300, IntervalUnit::Hours)),
        std::tuple(1, 120, 1080000));
}

TEST_F(DataLoggerTest, HeadersOnPutTheEarlierRecordsInAFreshDatedCopyAndRestartNumbering) {
    const std::string dated = stick + "/run-20000101-000000";
    std::ofstream(logFile) << "1,2\r\n";
    std::ofstream(dated + ".csv") << "older\r\n";
    state.LogSampleNo = 9;
    EXPECT_FALSE(ApplySaveOptions(state, {logFile, {"Fan"}}, sink, clock.current));
    EXPECT_EQ(state.LogSampleNo, 0);
    EXPECT_EQ(ReadAll(logFile), "TIME,Fan\r\n");
    EXPECT_EQ(ReadAll(dated + ".csv"), "older\r\n");
    EXPECT_EQ(ReadAll(dated + "-2.csv"), "1,2\r\n");
    // A file holding only the header, as OK wrote it before or writes it now, is
    // emptied without a copy.
    for (const char* name : {"Fan", "Pump"}) {
        EXPECT_FALSE(ApplySaveOptions(state, {logFile, {name}}, sink, clock.current));
    }
    EXPECT_EQ(ReadAll(logFile), "TIME,Pump\r\n");
    EXPECT_FALSE(std::filesystem::exists(dated + "-3.csv"));
}

TEST_F(DataLoggerTest, ARefusedOkLeavesTheRunningLogItsFileIntervalAndCounters) {
    using enum platform::MessageIcon;
    const std::string gone = folder + "/gone/b";
    const std::string fifo = folder + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(logFile) << "1\r\n";
    // File name, channel 0's name, channel 0 marked, the message, and whether
    // logging goes on and the choices were stored.
    const std::tuple<std::string, const char*, bool, std::string, platform::MessageIcon, bool, bool>
        cases[] = {
            {"", "", true, "File Name Error: File name cannot be left empty", Critical, false,
             true},
            {logFile, "", false,
             "Saving Error: No channels for saving selected!\nMark them with Save in "
             "Task > Task Manager.",
             Information, true, true},
            {"b", "6\"", true,
             "Channel Name Error: The name of Channel 0 cannot contain a double quote (\").",
             Critical, true, false},
            {"b\"", "", true, "File Name Error: The file name cannot contain a double quote (\").",
             Critical, true, false},
            {gone, "", true,
             "Save Error: The header line cannot be written to " + gone + " (" + gone +
                 ": No such file or directory). Logging goes on as before.",
             Critical, true, false},
            {stick, "", true, "File Name Error: " + stick + " is not a regular file.", Critical,
             true, false},
            {fifo, "", true, "File Name Error: " + fifo + " is not a regular file.", Critical, true,
             false}};
    for (const auto& [fileName, name, marked, text, icon, saving, stored] : cases) {
        state.SaveChannel[0] = true;
        Start(5);
        state.SaveChannel[0] = marked;
        const SaveOptionsChoice refused{fileName, {name}, true, 2, 1, 7};

        const auto message = ApplySaveOptions(state, refused, sink, clock.current);

        ASSERT_TRUE(message) << text;
        EXPECT_EQ(message->title + ": " + message->text, text);
        EXPECT_EQ(message->icon, icon);
        EXPECT_EQ(std::tuple(state.Saving, state.LogDelimiter, state.LogIntervalTicks,
                             state.LogTickCount, ReadAll(logFile)),
                  std::tuple(saving, stored ? 2 : 1, 5, 4, "1\r\n"));
    }
}

TEST_F(DataLoggerTest, FirstRecordAtTheNextTickThenOneEveryIntervalOfCountedTicks) {
    state.CardConnected2 = state.PortLost2 = true;
    Start(5);
    EXPECT_EQ(Run(11), "00:00:01,0\r\n00:00:06,0\r\n00:00:11,0\r\n");
    // The tick a record falls due with no channel marked writes no empty line.
    state.SaveChannel[0] = false;
    EXPECT_EQ(Run(5), "");
    state.SaveChannel[0] = true;
    EXPECT_EQ(Run(5), "00:00:21,0\r\n");
    // Ticks while card 1 is absent, its port lost, it has not answered since its
    // port came back, its running task sends no frames, or logging is off, do not
    // count.
    state.TaskRunning1 = true;
    for (auto [flag, value] : {std::pair{&AcquisitionState::CardConnected1, false},
                               std::pair{&AcquisitionState::PortLost1, true},
                               std::pair{&AcquisitionState::AwaitingAnswer1, true},
                               std::pair{&AcquisitionState::DataStale1, true},
                               std::pair{&AcquisitionState::Saving, false}}) {
        clock.current = {};
        Run(2);
        state.*flag = value;
        EXPECT_EQ(Run(10), "");
        state.*flag = !value;
        EXPECT_EQ(Run(3), "00:00:15,0\r\n");
    }
    // With no task running the last values stand.
    state.TaskRunning1 = false;
    state.DataStale1 = true;
    EXPECT_NE(Run(5), "");
}

TEST_F(DataLoggerTest, RecordsWaitForAFailingFileInOrderUpToTheBoundAndAreReportedWhenLost) {
    Start(1, 1);
    std::filesystem::remove_all(stick);
    Run(6);
    EXPECT_TRUE(state.SaveError);
    std::filesystem::create_directory(stick);
    state.CardConnected1 = false;
    // Nothing is due, yet what waits goes; four may wait, so the two oldest are gone.
    EXPECT_EQ(Run(1), "3,0\r\n4,0\r\n5,0\r\n6,0\r\n");
    EXPECT_FALSE(state.SaveError);
    const auto& notices = dialogs.nonBlockingMessages;
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0].title + ": " + notices[0].text,
              "Save Error: Log records cannot be written (" + logFile +
                  ": No such file or directory). They are kept and will be "
                  "written as soon as the file can be opened again.");
    EXPECT_EQ(notices[2].text,
              "2 log records could not be written to " + logFile + " in time and were dropped.");
    // A new failure while a notice is open adds none, nor does the same failure going
    // on once the user closed it; at exit its records cannot reach even the recovery
    // folder.
    state.CardConnected1 = true;
    std::filesystem::remove_all(stick);
    Run(1);
    dialogs.closeNonBlocking();
    Run(1);
    EXPECT_EQ(notices.size(), 3u);
    state.AppDir = folder + "/gone";
    logger.Close();
    EXPECT_EQ(dialogs.messages.at(0).text,
              "2 log records could not be written to " + logFile +
                  ". The recovery file could not be written either (" + folder +
                  "/gone/vantrel-unsaved-20000101-000009.csv: No such file or directory). They "
                  "are lost.");
    EXPECT_EQ(dialogs.messages.at(0).icon, platform::MessageIcon::Critical);
}

TEST_F(DataLoggerTest, WaitingRecordsOutliveAKillInTheJournalEvenUnderANameTooLong) {
    state.AppDir = folder;
    const std::string journal = folder + "/vantrel.journal";
    logFile = stick + "/" + std::string(250, 'n') + ".csv";
    Start(1, 1);
    std::filesystem::remove_all(stick);
    Run(3);
    EXPECT_EQ(ReadAll(journal), ">" + logFile + "\r\n1,0\r\n2,0\r\n3,0\r\n");
    // Killed now; the next start finds the journal.
    DataLogger next{state, clock, dialogs, sink};
    const auto message = next.RecoverJournal();
    const std::string recovery = folder + "/vantrel-unsaved-20000101-000003.csv";
    ASSERT_TRUE(message);
    EXPECT_EQ(
        message->text,
        "3 log records left waiting when the program last ended were saved in " + recovery + ".");
    EXPECT_EQ(ReadAll(recovery), "1,0\r\n2,0\r\n3,0\r\n");
    EXPECT_FALSE(std::filesystem::exists(journal));
    // Written at last, records leave the journal.
    Run(1);
    std::filesystem::create_directory(stick);
    Run(1);
    EXPECT_EQ(ReadAll(logFile), "1,0\r\n2,0\r\n3,0\r\n4,0\r\n5,0\r\n");
    EXPECT_FALSE(std::filesystem::exists(journal));
}

TEST_F(DataLoggerTest, NewFilesNeverReplaceOldOnesAndAFullDiskIsReported) {
    // A FIFO nobody reads is refused at once instead of freezing the program.
    const std::string fifo = folder + "/fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(sink.append(fifo, "x", Flush::No), fifo + ": No such device or address");
    std::ofstream(logFile) << "a\r\n";
    EXPECT_TRUE(sink.createNew(logFile, "b"));
    EXPECT_TRUE(sink.copyToNew(folder + "/other", logFile));
    EXPECT_EQ(ReadAll(logFile), "a\r\n");
    EXPECT_EQ(sink.append("/dev/full", "x", Flush::No), "/dev/full: No space left on device");
}

// Records take the values of the frames handed over, each card its own slots; a
// channel a frame could not convert keeps its last value, as it always has.
// Channel 0 reads in bar; of three derived channels the first and third are logged.
void SetEngineeringColumns(AcquisitionState& state) {
    derived::DerivedSettings settings;
    settings.channels = {{.name = "dT", .unit = "K", .expression = "ch1 - ch0", .saved = true},
                         {.name = "unlogged", .unit = "", .expression = "ch0"},
                         {.name = "sum", .unit = "", .expression = "ch0 + ch1", .saved = true}};
    SetLoggedDerived(state, settings);
    ChannelScales scales{};
    scales[0] = ChannelScale{.unit = "bar"};
    SetLogScaleUnits(state, scales);
}

// Channels 0 and 1 of the card scaled, the first three derived channels; every
// converted value is 1000, which no record may show.
ConvertedFrame EngineeringFrame(int card, std::array<std::optional<double>, 2> scaled,
                                std::array<std::optional<double>, 3> derived) {
    ConvertedFrame frame;
    frame.card = card;
    frame.values.fill(1000.0f);
    std::copy(scaled.begin(), scaled.end(), frame.scaled.begin());
    std::copy(derived.begin(), derived.end(), frame.derived.begin());
    return frame;
}

TEST_F(DataLoggerTest, IntervalFiguresOfScaledAndDerivedValuesCountOnlyTheFramesThatGaveThem) {
    state.SaveChannel[1] = state.SaveChannel[9] = true;
    SetEngineeringColumns(state);
    const struct {
        LogStatistics statistics;
        const char* records;
    } cases[] = {
        {LogStatistics::Last,
         "00:00:01,4,2,7,3,\r\n00:00:02,4,2,7,3,\r\n00:00:03,0.3333333,2,7,-0.5,\r\n"},
        {LogStatistics::Mean,
         "00:00:01,2.5,2,7,1,10\r\n00:00:02,,,,,\r\n00:00:03,0.3333333,,,-0.5,\r\n"},
        {LogStatistics::MinMaxMean,
         "00:00:01,1,4,2.5,2,2,2,7,7,7,-1,3,1,10,10,10\r\n00:00:02,,,,,,,,,,,,,,,\r\n"
         "00:00:03,0.3333333,0.3333333,0.3333333,,,,,,,-0.5,-0.5,-0.5,,,\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.statistics));
        state.Saving = false;
        logger.Tick();
        clock.current.second = 0;
        std::filesystem::remove(logFile);
        SetRecordLayout(state, {.statistics = c.statistics});
        // Before logging starts: in no interval.
        logger.TakeFrame(EngineeringFrame(0, {100.0, 100.0}, {100.0, 100.0, 100.0}));
        Start(1);
        logger.TakeFrame(EngineeringFrame(0, {1.0, 2.0}, {1.0, 99.0, 10.0}));
        logger.TakeFrame(EngineeringFrame(0, {4.0, std::nullopt}, {-1.0, 99.0, std::nullopt}));
        // Card 2's frame gives its slots 8 and 9, not card 1's, and the derived channels.
        logger.TakeFrame(EngineeringFrame(1, {std::nullopt, 7.0}, {3.0, 99.0, std::nullopt}));
        // The second interval has no frame at all.
        std::string records = Run(2);
        logger.TakeFrame(EngineeringFrame(0, {1.0 / 3.0, std::nullopt}, {-0.5, {}, {}}));
        records += Run(1);
        EXPECT_EQ(records, c.records);
    }
}

}  // namespace
}  // namespace vantrel
