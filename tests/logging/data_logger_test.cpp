// The logger tick: counting, pausing (also while card 1's port is lost, so no copies
// of old values pass for records), the record text, and a file that cannot be
// written: records wait per file without holding back another file, and what still
// waits at exit is saved elsewhere or its loss reported.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "logging/DataLogger.h"
#include "logging/SaveOptions.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeLogFileSink.h"

namespace vantrel {
namespace {

constexpr const char* kFile = "run.csv";

// The file's lines; fails the test when a line does not end in CR LF.
std::vector<std::string> Lines(const std::string& contents) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < contents.size()) {
        const std::size_t end = contents.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "unterminated line: " << contents.substr(start);
            break;
        }
        lines.push_back(contents.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

class DataLoggerTest : public ::testing::Test {
  protected:
    DataLoggerTest() {
        state.CardConnected1 = true;
        state.SaveChannel[0] = true;
        state.SaveChannel[3] = true;
        state.ChannelValue[0] = 1.25f;
        state.ChannelValue[3] = -0.5f;
        clock.current = {2026, 12, 6, 14, 5, 9};
    }

    // OK in the save options window with headers off, so the file holds records only.
    void Start(std::int16_t interval, std::int16_t stampStyle = 1, std::int16_t delimiter = 1) {
        SaveOptionsChoice choice;
        for (int n = 0; n < kUsedChannels; ++n) {
            choice.channelNames[n] = state.ChannelName[n];
        }
        choice.fileName = kFile;
        choice.headers = false;
        choice.intervalChoice = interval;
        choice.intervalUnit = 1;
        choice.stampStyle = stampStyle;
        choice.delimiter = delimiter;
        ASSERT_FALSE(ApplySaveOptions(state, choice, sink, clock.current));
    }

    // The 1-based tick numbers, among the next `ticks`, on which a record appeared.
    std::vector<int> TicksWithRecords(int ticks) {
        std::vector<int> found;
        for (int t = 1; t <= ticks; ++t) {
            const std::size_t before = Lines(sink.files[kFile]).size();
            logger.Tick();
            if (Lines(sink.files[kFile]).size() != before) {
                found.push_back(t);
            }
        }
        return found;
    }

    std::vector<std::string> FileLines() { return Lines(sink.files[kFile]); }

    AcquisitionState state;
    testing::FakeClock clock;
    testing::FakeDialogs dialogs;
    testing::FakeLogFileSink sink;
    DataLogger logger{state, clock, dialogs, sink, 4};
};

TEST_F(DataLoggerTest, IntervalOfOneWritesEveryTick) {
    Start(1);
    EXPECT_EQ(TicksWithRecords(4), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"1,1.25,-0.5", "2,1.25,-0.5", "3,1.25,-0.5",
                                                     "4,1.25,-0.5"}));
}

TEST_F(DataLoggerTest, IntervalOfFiveWritesAtTheFirstTickThenEveryFifth) {
    Start(5);
    EXPECT_EQ(TicksWithRecords(16), (std::vector<int>{1, 6, 11, 16}));
}

// Card 1 absent or its port lost: no record, the count waits, and the gap shows in
// the stamps instead of copies of the last values. Card 2's lost port changes nothing.
struct PauseCase {
    bool AcquisitionState::*flag;
    bool value;
    std::vector<int> ticksWithRecords;
};

class DataLoggerPauseTest : public DataLoggerTest,
                            public ::testing::WithParamInterface<PauseCase> {};

TEST_P(DataLoggerPauseTest, CountResumesWhereItWas) {
    state.CardConnected2 = true;
    Start(5);
    EXPECT_EQ(TicksWithRecords(3), (std::vector<int>{1}));
    state.*GetParam().flag = GetParam().value;
    EXPECT_EQ(TicksWithRecords(20), GetParam().ticksWithRecords);
    state.*GetParam().flag = !GetParam().value;
    EXPECT_EQ(TicksWithRecords(8), (std::vector<int>{3, 8}));
}

INSTANTIATE_TEST_SUITE_P(
    Cards, DataLoggerPauseTest,
    ::testing::Values(PauseCase{&AcquisitionState::CardConnected1, false, {}},
                      PauseCase{&AcquisitionState::PortLost1, true, {}},
                      PauseCase{&AcquisitionState::PortLost2, true, {3, 8, 13, 18}}));

TEST_F(DataLoggerTest, OnlyCardTwoConnectedWritesNothing) {
    state.CardConnected1 = false;
    state.CardConnected2 = true;
    Start(1);
    EXPECT_TRUE(TicksWithRecords(5).empty());
    EXPECT_EQ(sink.appendCalls, 0);
}

TEST_F(DataLoggerTest, LoggingOffWritesNothingAndCountsNothing) {
    Start(5);
    state.Saving = false;
    EXPECT_TRUE(TicksWithRecords(7).empty());
    EXPECT_EQ(state.LogTickCount, 4);
}

TEST_F(DataLoggerTest, FourSpaceSeparatorLeavesNoTrailingBlanks) {
    state.SaveChannel[9] = true;
    state.ChannelValue[9] = 12345678.0f;
    Start(1, 3, 2);
    logger.Tick();
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"14:05:09,1.25    -0.5    1.234568E+07"}));
}

TEST_F(DataLoggerTest, StampsReadTheClockAtEachRecord) {
    Start(1, 2);
    logger.Tick();
    clock.current = {2027, 1, 9, 0, 0, 7};
    logger.Tick();
    state.LogStampStyle = 3;
    logger.Tick();
    state.LogStampStyle = 4;
    logger.Tick();
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"06/12/26,14:05:09,1.25,-0.5",
                                                     "09/01/27,00:00:07,1.25,-0.5",
                                                     "00:00:07,1.25,-0.5", "1.25,-0.5"}));
}

TEST_F(DataLoggerTest, RecordsCarryTheValuesOfTheirTick) {
    Start(1, 4);
    logger.Tick();
    state.ChannelValue[0] = 0.0001f;
    state.ChannelValue[3] = 1e-5f;
    logger.Tick();
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"1.25,-0.5", "0.0001,1E-05"}));
}

TEST_F(DataLoggerTest, RestartNumbersFromOneAgain) {
    Start(1);
    TicksWithRecords(3);
    Start(1);
    logger.Tick();
    EXPECT_EQ(FileLines().back(), "1,1.25,-0.5");
}

TEST_F(DataLoggerTest, MarksChangedWhileLoggingChangeTheLaterRecords) {
    Start(1, 4);
    logger.Tick();
    state.SaveChannel[0] = false;
    state.SaveChannel[12] = true;
    state.ChannelValue[12] = 7.0f;
    logger.Tick();
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"1.25,-0.5", "-0.5,7"}));
}

TEST_F(DataLoggerTest, NoMarkedChannelWritesNoEmptyRecordAndKeepsTheInterval) {
    Start(3);
    state.SaveChannel[0] = false;
    state.SaveChannel[3] = false;
    EXPECT_TRUE(TicksWithRecords(4).empty());
    EXPECT_EQ(state.LogSampleNo, 0);
    state.SaveChannel[3] = true;
    // The due tick passed while nothing was marked; the next one is an interval on.
    EXPECT_EQ(TicksWithRecords(3), (std::vector<int>{3}));
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"1,-0.5"}));
}

TEST_F(DataLoggerTest, FailedRecordsWaitAndReachTheFileOnceInOrder) {
    Start(1);
    logger.Tick();
    sink.failing = true;
    logger.Tick();
    logger.Tick();
    EXPECT_TRUE(state.SaveError);
    EXPECT_EQ(logger.PendingRecords(), 2u);
    ASSERT_EQ(dialogs.nonBlockingMessages.size(), 1u);
    EXPECT_NE(dialogs.nonBlockingMessages[0].text.find(kFile), std::string::npos);
    EXPECT_EQ(FileLines().size(), 1u);

    sink.failing = false;
    logger.Tick();

    EXPECT_FALSE(state.SaveError);
    EXPECT_EQ(logger.PendingRecords(), 0u);
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"1,1.25,-0.5", "2,1.25,-0.5", "3,1.25,-0.5",
                                                     "4,1.25,-0.5"}));
    EXPECT_EQ(dialogs.nonBlockingMessages.size(), 1u);
}

TEST_F(DataLoggerTest, WaitingRecordsAreWrittenEvenWhenNoRecordIsDue) {
    Start(5);
    sink.failing = true;
    logger.Tick();
    sink.failing = false;
    state.CardConnected1 = false;
    logger.Tick();
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"1,1.25,-0.5"}));
    EXPECT_FALSE(state.SaveError);
}

TEST_F(DataLoggerTest, OneNoticePerFailureEpisode) {
    Start(1);
    sink.failing = true;
    TicksWithRecords(3);
    EXPECT_EQ(dialogs.nonBlockingMessages.size(), 1u);
    dialogs.closeNonBlocking();
    sink.failing = false;
    logger.Tick();
    sink.failing = true;
    logger.Tick();
    ASSERT_EQ(dialogs.nonBlockingMessages.size(), 2u);
    EXPECT_EQ(dialogs.nonBlockingMessages[1].title, "Save Error");
}

TEST_F(DataLoggerTest, FileFailingOnAndOffDoesNotStackNoticesTheUserHasNotClosed) {
    Start(1);
    for (int i = 0; i < 5; ++i) {
        sink.failing = true;
        logger.Tick();
        sink.failing = false;
        logger.Tick();
    }
    EXPECT_EQ(dialogs.nonBlockingMessages.size(), 1u);
    EXPECT_EQ(FileLines().size(), 10u);
}

TEST_F(DataLoggerTest, BeyondTheBoundTheOldestAreDroppedAndCounted) {
    Start(1);
    sink.failing = true;
    TicksWithRecords(6);
    EXPECT_EQ(logger.PendingRecords(), 4u);
    EXPECT_EQ(logger.DroppedRecords(), 2u);
    sink.failing = false;
    logger.Tick();

    EXPECT_EQ(FileLines(), (std::vector<std::string>{"3,1.25,-0.5", "4,1.25,-0.5", "5,1.25,-0.5",
                                                     "6,1.25,-0.5", "7,1.25,-0.5"}));
    ASSERT_FALSE(dialogs.nonBlockingMessages.empty());
    EXPECT_NE(dialogs.nonBlockingMessages.back().text.find("2 log records"), std::string::npos);
}

TEST_F(DataLoggerTest, AFailingFileDoesNotHoldBackTheNextOne) {
    Start(1);
    sink.failingPaths.insert(kFile);
    logger.Tick();
    EXPECT_TRUE(state.SaveError);
    state.LogFileName = "next.csv";
    logger.Tick();
    EXPECT_EQ(Lines(sink.files["next.csv"]), (std::vector<std::string>{"2,1.25,-0.5"}));
    EXPECT_FALSE(state.SaveError);

    sink.failingPaths.clear();
    logger.Tick();
    EXPECT_EQ(FileLines(), (std::vector<std::string>{"1,1.25,-0.5"}));
    EXPECT_EQ(Lines(sink.files["next.csv"]).size(), 2u);
}

TEST_F(DataLoggerTest, AtCloseWhatStillCannotReachItsFileGoesToAFreshRecoveryFile) {
    state.AppDir = "start";
    Start(1);
    sink.failing = true;
    logger.Tick();
    logger.Tick();
    state.LogFileName = "next.csv";
    logger.Tick();
    sink.failing = false;
    sink.failingPaths.insert(kFile);
    sink.files["start/run-unsaved-20261206-140509.csv"] = "earlier\r\n";

    logger.Close();

    EXPECT_EQ(sink.files["next.csv"], "3,1.25,-0.5\r\n");
    EXPECT_EQ(sink.files["start/run-unsaved-20261206-140509.csv"], "earlier\r\n");
    EXPECT_EQ(sink.files["start/run-unsaved-20261206-140509-2.csv"],
              "1,1.25,-0.5\r\n2,1.25,-0.5\r\n");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "2 log records could not be written to run.csv. They were saved in "
              "start/run-unsaved-20261206-140509-2.csv.");
    EXPECT_EQ(logger.PendingRecords(), 0u);
}

TEST_F(DataLoggerTest, AtCloseALossIsReportedWithItsCountWhenEvenRecoveryFails) {
    Start(1);
    sink.failing = true;
    logger.Tick();
    logger.Close();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text.rfind("1 log record could not be written to run.csv. "
                                             "They are lost",
                                             0),
              0u);
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Critical);
}

}  // namespace
}  // namespace vantrel
