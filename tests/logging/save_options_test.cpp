// OK in the save options window, without the window: what is stored, checked,
// written and armed; earlier records kept before the file is emptied, and a failed
// header that must not stop or redirect a running log.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "logging/SaveOptions.h"
#include "tests/support/FakeLogFileSink.h"

namespace vantrel {
namespace {

const platform::DateTime kNow{2026, 12, 6, 14, 5, 9};

class SaveOptionsTest : public ::testing::Test {
  protected:
    SaveOptionsTest() {
        state.SaveChannel[0] = true;
        state.SaveChannel[3] = true;
        for (int n = 0; n < kUsedChannels; ++n) {
            choice.channelNames[n] = state.ChannelName[n];
        }
        choice.channelNames[3] = "Fan";
        choice.fileName = "log.csv";
    }

    AcquisitionState state;
    SaveOptionsChoice choice;
    testing::FakeLogFileSink sink;
};

TEST_F(SaveOptionsTest, StartsLoggingWithTheHeaderAndTheFirstRecordDueAtTheNextTick) {
    choice.intervalChoice = 5;
    choice.intervalUnit = 1;

    EXPECT_FALSE(ApplySaveOptions(state, choice, sink, kNow));

    EXPECT_TRUE(state.Saving);
    // A missing file has nothing to keep.
    EXPECT_EQ(sink.files,
              (std::map<std::string, std::string>{{"log.csv", "TIME,Channel 0,Fan\r\n"}}));
    EXPECT_EQ(state.LogIntervalTicks, 5);
    EXPECT_EQ(state.LogTickCount, 4);
    EXPECT_EQ(state.LogSampleNo, 0);
    EXPECT_EQ(state.ChannelName[3], "Fan");
}

TEST_F(SaveOptionsTest, WithoutHeadersTheFileIsNotTouched) {
    choice.headers = false;
    EXPECT_FALSE(ApplySaveOptions(state, choice, sink, kNow));
    EXPECT_TRUE(state.Saving);
    EXPECT_EQ(sink.replaceCalls, 0);
    EXPECT_EQ(sink.appendCalls, 0);
}

TEST_F(SaveOptionsTest, RestartKeepsTheEarlierRecordsInADatedCopyAndResetsTheCounters) {
    choice.fileName = "logs/log.csv";
    ASSERT_FALSE(ApplySaveOptions(state, choice, sink, kNow));
    sink.files["logs/log.csv"] += "14:00:00,1,2\r\n";
    state.LogSampleNo = 17;
    state.LogTickCount = 2;

    choice.stampStyle = 1;
    EXPECT_FALSE(ApplySaveOptions(state, choice, sink, kNow));
    EXPECT_EQ(sink.files["logs/log.csv"], "SN,Channel 0,Fan\r\n");
    EXPECT_EQ(sink.files["logs/log-20261206-140509.csv"], "TIME,Channel 0,Fan\r\n14:00:00,1,2\r\n");
    EXPECT_EQ(state.LogSampleNo, 0);
    EXPECT_EQ(state.LogTickCount, state.LogIntervalTicks - 1);

    // Pressed again within the second: the first copy stays as it was.
    EXPECT_FALSE(ApplySaveOptions(state, choice, sink, kNow));
    EXPECT_EQ(sink.files["logs/log-20261206-140509-2.csv"], "SN,Channel 0,Fan\r\n");
    EXPECT_EQ(sink.files["logs/log-20261206-140509.csv"], "TIME,Channel 0,Fan\r\n14:00:00,1,2\r\n");
}

TEST_F(SaveOptionsTest, EmptyFileNameStopsLoggingButKeepsTheOtherChoices) {
    state.Saving = true;
    choice.fileName = "";
    choice.delimiter = 2;
    choice.stampStyle = 1;
    choice.intervalChoice = 7;

    const auto message = ApplySaveOptions(state, choice, sink, kNow);

    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "File name cannot be left empty");
    EXPECT_EQ(message->title, "File Name Error");
    EXPECT_EQ(message->icon, platform::MessageIcon::Critical);
    EXPECT_FALSE(state.Saving);
    EXPECT_EQ(state.LogFileName, "");
    EXPECT_EQ(state.LogDelimiter, 2);
    EXPECT_EQ(state.LogStampStyle, 1);
    EXPECT_EQ(state.LogIntervalChoice, 7);
    EXPECT_EQ(state.ChannelName[3], "Fan");
    EXPECT_EQ(sink.replaceCalls, 0);
}

TEST_F(SaveOptionsTest, NoChannelMarkedLeavesARunningLogGoingWithTheNewChoices) {
    ASSERT_FALSE(ApplySaveOptions(state, choice, sink, kNow));
    state.LogTickCount = 3;
    state.LogSampleNo = 9;
    state.SaveChannel[0] = false;
    state.SaveChannel[3] = false;
    choice.fileName = "other.csv";
    choice.intervalChoice = 2;
    choice.intervalUnit = 2;
    choice.headers = false;

    const auto message = ApplySaveOptions(state, choice, sink, kNow);

    ASSERT_TRUE(message);
    EXPECT_EQ(message->text, "No channels for saving selected!");
    EXPECT_EQ(message->title, "Saving Error");
    EXPECT_EQ(message->icon, platform::MessageIcon::Information);
    EXPECT_TRUE(state.Saving);
    EXPECT_EQ(state.LogFileName, "other.csv");
    EXPECT_EQ(state.LogIntervalChoice, 2);
    EXPECT_EQ(state.LogIntervalUnit, 2);
    EXPECT_FALSE(state.LogHeaders);
    // The interval in ticks and the counters belong to the run that goes on.
    EXPECT_EQ(state.LogIntervalTicks, 5);
    EXPECT_EQ(state.LogTickCount, 3);
    EXPECT_EQ(state.LogSampleNo, 9);
}

TEST_F(SaveOptionsTest, NameWithADoubleQuoteIsRefusedBeforeAnythingIsStored) {
    choice.channelNames[11] = "Inlet \"A\"";
    choice.fileName = "changed.csv";

    const auto message = ApplySaveOptions(state, choice, sink, kNow);

    ASSERT_TRUE(message);
    EXPECT_NE(message->text.find("Channel 11"), std::string::npos);
    EXPECT_EQ(message->icon, platform::MessageIcon::Critical);
    EXPECT_EQ(state.ChannelName[11], "Channel 11");
    EXPECT_NE(state.LogFileName, "changed.csv");
    EXPECT_FALSE(state.Saving);
}

TEST_F(SaveOptionsTest, OtherUnusualCharactersInNamesAreAccepted) {
    choice.channelNames[2] = "Temp, °C 'in' | #1";
    state.SaveChannel[2] = true;
    EXPECT_FALSE(ApplySaveOptions(state, choice, sink, kNow));
    EXPECT_EQ(state.ChannelName[2], "Temp, °C 'in' | #1");
}

TEST_F(SaveOptionsTest, FileNameWithADoubleQuoteIsRefusedBeforeAnythingIsStored) {
    choice.fileName = "run\".csv";
    const auto message = ApplySaveOptions(state, choice, sink, kNow);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->title, "File Name Error");
    EXPECT_NE(state.LogFileName, choice.fileName);
    EXPECT_FALSE(state.Saving);
    EXPECT_TRUE(sink.files.empty());
}

// Whichever write fails (the header in a missing folder, or the copy of the
// earlier records), a running log keeps its file, columns and counters.
struct FailedRestartCase {
    const char* fileName;
    const char* failingPath;
};

class FailedRestartTest : public SaveOptionsTest,
                          public ::testing::WithParamInterface<FailedRestartCase> {};

TEST_P(FailedRestartTest, LeavesLoggingExactlyAsItWas) {
    ASSERT_FALSE(ApplySaveOptions(state, choice, sink, kNow));
    sink.files["log.csv"] += "14:00:00,1,2\r\n";
    const std::string before = sink.files["log.csv"];
    state.LogTickCount = 3;
    state.LogSampleNo = 9;
    choice.fileName = GetParam().fileName;
    choice.delimiter = 2;
    choice.intervalChoice = 7;
    choice.channelNames[3] = "Pump";
    sink.failingPaths.insert(GetParam().failingPath);

    const auto message = ApplySaveOptions(state, choice, sink, kNow);

    ASSERT_TRUE(message);
    EXPECT_NE(message->text.find(GetParam().fileName), std::string::npos);
    EXPECT_EQ(message->icon, platform::MessageIcon::Critical);
    EXPECT_TRUE(state.Saving);
    EXPECT_EQ(state.LogFileName, "log.csv");
    EXPECT_EQ(state.LogDelimiter, 1);
    EXPECT_EQ(state.LogIntervalChoice, 5);
    EXPECT_EQ(state.ChannelName[3], "Fan");
    EXPECT_EQ(state.LogTickCount, 3);
    EXPECT_EQ(state.LogSampleNo, 9);
    EXPECT_EQ(sink.files["log.csv"], before);

    state.Saving = false;
    EXPECT_TRUE(ApplySaveOptions(state, choice, sink, kNow));
    EXPECT_FALSE(state.Saving);
}

INSTANTIATE_TEST_SUITE_P(Writes, FailedRestartTest,
                         ::testing::Values(FailedRestartCase{"gone/new.csv", "gone/new.csv"},
                                           FailedRestartCase{"log.csv",
                                                             "log-20261206-140509.csv"}));

struct IntervalCase {
    std::int16_t choice;
    std::int16_t unit;
    std::int32_t ticks;
};

class IntervalTicksTest : public ::testing::TestWithParam<IntervalCase> {};

TEST_P(IntervalTicksTest, CountsSeconds) {
    EXPECT_EQ(IntervalTicks(GetParam().choice, GetParam().unit), GetParam().ticks);
}

INSTANTIATE_TEST_SUITE_P(Units, IntervalTicksTest,
                         ::testing::Values(IntervalCase{1, 1, 1}, IntervalCase{5, 1, 5},
                                           IntervalCase{300, 1, 300}, IntervalCase{2, 2, 120},
                                           IntervalCase{300, 2, 18000}, IntervalCase{1, 3, 3600},
                                           IntervalCase{300, 3, 1080000}));

}  // namespace
}  // namespace vantrel
