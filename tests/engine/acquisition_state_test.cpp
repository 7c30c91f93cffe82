#include <gtest/gtest.h>

#include "engine/AcquisitionState.h"

namespace vantrel {
namespace {

TEST(AcquisitionStateDefaults, UsedChannelSlotsStartAtTheFactoryCalibration) {
    const AcquisitionState state;
    for (int s = 0; s < kUsedChannels; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(state.InputType[s], 0);
        EXPECT_EQ(state.InputRange[s], 10.0);
        EXPECT_EQ(state.CalZero10V[s], 0);
        EXPECT_EQ(state.CalSpan10V[s], 32000);
        EXPECT_EQ(state.CalZero200mV[s], 0);
        EXPECT_EQ(state.CalSpan200mV[s], 32000);
        EXPECT_EQ(state.CalRTD[s], 13000);
        EXPECT_EQ(state.ChannelName[s], "Channel " + std::to_string(s));
    }
}

TEST(AcquisitionStateDefaults, SlotsBeyondTheUsedOnesStayZero) {
    const AcquisitionState state;
    for (int s = kUsedChannels; s < kChannelArraySize; ++s) {
        EXPECT_EQ(state.CalSpan10V[s], 0);
        EXPECT_EQ(state.CalRTD[s], 0);
        EXPECT_TRUE(state.ChannelName[s].empty());
    }
    for (int s = kUsedChannels; s < kConfigArraySize; ++s) {
        EXPECT_EQ(state.InputRange[s], 0.0);
    }
    EXPECT_EQ(state.InputType.size(), 41u);
    EXPECT_EQ(state.DigitalDirection.size(), 41u);
    EXPECT_EQ(state.RawCounts.size(), 21u);
}

TEST(AcquisitionStateDefaults, CardOnesFrameIsPresentFromTheStart) {
    const AcquisitionState state;
    EXPECT_EQ(state.AnalogFrame1.size(), 62u);
    EXPECT_TRUE(state.AnalogFrame2.empty());
    EXPECT_EQ(state.ComPort1, 1);
    EXPECT_EQ(state.ComPort2, 2);
    EXPECT_EQ(state.LogIntervalChoice, 5);
    EXPECT_EQ(state.LogStampStyle, 3);
    EXPECT_TRUE(state.LogHeaders);
}

}  // namespace
}  // namespace vantrel
