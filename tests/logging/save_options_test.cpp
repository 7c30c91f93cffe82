// OK in the save options window, without the window: what is stored, checked,
// written and armed.
#include <gtest/gtest.h>

#include "logging/SaveOptions.h"
#include "tests/support/FakeLogFileSink.h"

namespace vantrel {
namespace {

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
    sink.files["log.csv"] = "old run\r\n";

    EXPECT_FALSE(ApplySaveOptions(state, choice, sink));

    EXPECT_TRUE(state.Saving);
    EXPECT_EQ(sink.files["log.csv"], "TIME,Channel 0,Fan\r\n");
    EXPECT_EQ(state.LogIntervalTicks, 5);
    EXPECT_EQ(state.LogTickCount, 4);
    EXPECT_EQ(state.LogSampleNo, 0);
    EXPECT_EQ(state.ChannelName[3], "Fan");
}

TEST_F(SaveOptionsTest, WithoutHeadersTheFileIsNotTouched) {
    choice.headers = false;
    EXPECT_FALSE(ApplySaveOptions(state, choice, sink));
    EXPECT_TRUE(state.Saving);
    EXPECT_EQ(sink.replaceCalls, 0);
    EXPECT_EQ(sink.appendCalls, 0);
}

TEST_F(SaveOptionsTest, RestartWhileLoggingEmptiesTheFileAndResetsTheCounters) {
    ASSERT_FALSE(ApplySaveOptions(state, choice, sink));
    sink.files["log.csv"] += "14:00:00,1,2\r\n";
    state.LogSampleNo = 17;
    state.LogTickCount = 2;

    choice.stampStyle = 1;
    EXPECT_FALSE(ApplySaveOptions(state, choice, sink));
    EXPECT_EQ(sink.files["log.csv"], "SN,Channel 0,Fan\r\n");
    EXPECT_EQ(state.LogSampleNo, 0);
    EXPECT_EQ(state.LogTickCount, state.LogIntervalTicks - 1);
}

TEST_F(SaveOptionsTest, EmptyFileNameStopsLoggingButKeepsTheOtherChoices) {
    state.Saving = true;
    choice.fileName = "";
    choice.delimiter = 2;
    choice.stampStyle = 1;
    choice.intervalChoice = 7;

    const auto message = ApplySaveOptions(state, choice, sink);

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
    ASSERT_FALSE(ApplySaveOptions(state, choice, sink));
    state.LogTickCount = 3;
    state.LogSampleNo = 9;
    state.SaveChannel[0] = false;
    state.SaveChannel[3] = false;
    choice.fileName = "other.csv";
    choice.intervalChoice = 2;
    choice.intervalUnit = 2;
    choice.headers = false;

    const auto message = ApplySaveOptions(state, choice, sink);

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

    const auto message = ApplySaveOptions(state, choice, sink);

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
    EXPECT_FALSE(ApplySaveOptions(state, choice, sink));
    EXPECT_EQ(state.ChannelName[2], "Temp, °C 'in' | #1");
}

TEST_F(SaveOptionsTest, HeaderFileThatCannotBeCreatedIsReportedAndLoggingStaysOff) {
    sink.failing = true;
    state.Saving = true;

    const auto message = ApplySaveOptions(state, choice, sink);

    ASSERT_TRUE(message);
    EXPECT_NE(message->text.find("log.csv"), std::string::npos);
    EXPECT_EQ(message->icon, platform::MessageIcon::Critical);
    EXPECT_FALSE(state.Saving);
    EXPECT_EQ(state.LogIntervalTicks, 0);
}

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
