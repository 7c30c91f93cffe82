// The values a frame carries to every output: guards a scale applied to the wrong
// slot or card, a derived channel that misses the other card's latest values or
// keeps a value its channel failed to give, and a rename that the expressions do
// not follow.
#include <gtest/gtest.h>

#include "derived/EngineeringValues.h"

namespace vantrel::derived {
namespace {

ConvertedFrame Frame(int card, std::initializer_list<float> values) {
    ConvertedFrame frame;
    frame.card = card;
    std::size_t c = 0;
    for (float value : values) {
        frame.values[c] = value;
        frame.scaled[c] = value;
        ++c;
    }
    return frame;
}

TEST(EngineeringValuesTest, ScalesEachCardsSlotsAndEvaluatesOverBothCards) {
    AcquisitionState state;
    EngineeringValues values;
    ChannelScales scales{};
    scales[9] = ChannelScale{.gain = 2.0, .offset = 1.0, .unit = "bar"};
    // A 4-20 mA channel is scaled from its loop current, not its converted value.
    scales[10] = ChannelScale{.gain = 0.625, .offset = -2.5};
    values.setScales(scales);
    DerivedSettings settings;
    settings.channels = {{"total", "", 2, "ch1 + ch9"}, {"twice", "", 2, "2 * total"}};
    EXPECT_TRUE(values.setDerived(settings, state).empty());

    ConvertedFrame first = Frame(0, {0.0f, 3.0f});
    values.finish(first, state);
    EXPECT_EQ(first.scaled[1], 3.0);
    EXPECT_FALSE(first.derived[0]) << "card 2 has given nothing yet";

    ConvertedFrame second = Frame(1, {0.0f, 5.0f, 99.0f});
    second.loopMilliamps[2] = 12.0;
    values.finish(second, state);
    EXPECT_EQ(second.scaled[2], 5.0);
    EXPECT_EQ(second.scaled[1], 11.0) << "slot 9 through its scale";
    EXPECT_EQ(second.derived[0], 14.0);
    EXPECT_EQ(second.derived[1], 28.0);

    ConvertedFrame failed = Frame(0, {0.0f});
    values.finish(failed, state);
    EXPECT_FALSE(failed.scaled[1]);
    EXPECT_FALSE(failed.derived[0]) << "slot 1 failed this frame";
    EXPECT_EQ(values.latestDerived(), failed.derived);
}

TEST(EngineeringValuesTest, ARenamedChannelCanBeNamedFromTheNextFrameOn) {
    AcquisitionState state;
    EngineeringValues values;
    DerivedSettings settings;
    settings.channels = {{"hot", "K", 1, "Tin + 1"}};
    ASSERT_EQ(values.setDerived(settings, state).size(), 1u);
    EXPECT_NE(values.errors()[0].find("hot: "), std::string::npos);

    state.ChannelName[2] = "Tin";
    ConvertedFrame frame = Frame(0, {0.0f, 0.0f, 20.0f});
    values.finish(frame, state);
    EXPECT_EQ(frame.derived[0], 21.0);
    EXPECT_TRUE(values.errors().empty());
}

}  // namespace
}  // namespace vantrel::derived
