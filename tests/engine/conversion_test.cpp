// Guards the signal conversion: which calibration pair each input type uses, the
// linear scalings (the worked examples, 4 mA at a fifth of the span, the product
// formed before the division), unknown codes passing the count, the PT-100 walk on
// its drifting grid, the thermocouples' limits and cold junction (card 1's ambient
// rounded half to even, for both cards), and each failure stopping the card at the
// failing slot, leaving card 1 alone, with its message.
#include <gtest/gtest.h>

#include <tuple>

#include "engine/Conversion.h"
#include "engine/RtdPolynomial.h"
#include "engine/RtdSearch.h"
#include "tests/engine/Tables.h"

namespace vantrel {
namespace {

class Conversion : public ::testing::Test {
  protected:
    void SetUp() override { testing::LoadShippedTables(state); }

    float convertOne(int slot, int type, std::int16_t count) {
        state.InputType[slot] = static_cast<std::int16_t>(type);
        state.RawCounts[slot] = count;
        EXPECT_FALSE(ConvertFrame(state, slot < 8 ? 0 : 1).has_value());
        return state.ChannelValue[slot];
    }

    AcquisitionState state;
};

// Only the pair the type uses is set, so using the other one shows. Count 1189
// over span 138 rounds to another single when divided before the multiplication.
TEST_F(Conversion, EachTypeScalesBetweenItsCalibrationPair) {
    const std::tuple<int, std::int16_t, std::int16_t, double, std::int16_t, float> rows[] = {
        {0, 0, 32000, 10, 16000, 5.0f},     {0, 0, 32000, 10, -16000, -5.0f},
        {0, 100, 20100, 5, -19900, -5.0f},  {0, 0, 138, 4.071046766661314, 1189, 35.075901f},
        {2, 0, 32000, 100, 6400, 0.0f},     {2, 0, 32000, 100, 32000, 100.0f},
        {2, 0, 32000, 100, 0, -25.0f},      {2, -300, 31000, 100, 5960, 0.0f},
        {1, -300, 31000, 20, 15350, 10.0f}, {3, -300, 31000, 20, 15350, 10.0f},
        {4, 5, 5, 10, 14000, 19.75f},       {7, 5, 5, 10, -1234, -1234.0f},
        {-1, 5, 5, 10, 32767, 32767.0f},    {0, 0, 32000, 10, -32768, -10.24f}};
    for (const auto& [type, zero, span, range, count, value] : rows) {
        state = AcquisitionState();
        (type == 0 ? state.CalZero10V : state.CalZero200mV)[4] = zero;
        (type == 0 ? state.CalSpan10V : state.CalSpan200mV)[4] = span;
        state.InputRange[4] = range;
        EXPECT_EQ(convertOne(4, type, count), value) << type << " " << count;
    }
}

// The walk never lands on 0 exactly: count 13000 of 13000 gives 0.05. The curve
// reaches 2.9026225 at 850 degrees.
TEST_F(Conversion, PtHundredFollowsTheDriftingGrid) {
    const std::pair<std::int16_t, double> rows[] = {
        {13000, 0.05}, {14000, 19.75}, {18005, 100.05}, {2000, -199.95}};
    for (const auto& [count, degrees] : rows) {
        EXPECT_NEAR(RtdTemperature(count, 13000), degrees, 1e-9) << count;
    }
    EXPECT_EQ(static_cast<float>(RtdTemperature(32767, 1)), 850.0f);
    EXPECT_NEAR(rtd::ResistanceRatio(850.0), 2.9026225, 1e-12);
}

// With no thermocouple voltage the result is the cold junction's own entry; 843
// counts are 5.26875 mV, just below type J's 5.269 at 100 degrees.
TEST_F(Conversion, ThermocouplesUseCardOnesAmbientRoundedHalfToEven) {
    const std::tuple<float, int, int, std::int16_t, float> rows[] = {
        {0, 0, 5, -100, 0.5f},     {0, 0, 5, 0, 0.0f},        {0, 0, 6, -32000, -199.5f},
        {0, 0, 6, 32000, 1369.0f}, {0, 0, 5, 32000, 1099.0f}, {24.5f, 0, 5, 0, 24.0f},
        {25.5f, 0, 6, 0, 26.0f},   {-0.5f, 0, 5, 0, 0.0f},    {30.0f, 9, 5, 0, 30.0f},
        {0, 0, 5, 843, 99.5f}};
    state.AmbientTemp2 = 80.0f;
    for (const auto& [ambient, slot, type, count, degrees] : rows) {
        state.AmbientTemp1 = ambient;
        EXPECT_EQ(convertOne(slot, type, count), degrees) << ambient << " " << type << " " << count;
    }
}

// Each cause sits in slot 11 (card 2's channel 3) with a count of 3200; the message
// is the failure's description followed directly by the slot.
TEST_F(Conversion, AFailureStopsTheCardAtTheFailingSlot) {
    const std::tuple<int, std::int16_t, std::int16_t, std::int16_t, double, float, const char*>
        rows[] = {{0, 5, 5, 13000, 10, 0, "Division by zero11"},
                  {4, 0, 32000, 0, 10, 0, "Division by zero11"},
                  {6, 0, 0, 13000, 10, 0, "Division by zero11"},
                  {0, -30000, 32000, 13000, 10, 0, "Overflow11"},
                  {0, 0, 32000, 13000, 1e300, 0, "Overflow11"},
                  {5, 0, 32000, 13000, 10, -0.6f, "Index out of range11"},
                  {6, 0, 32000, 13000, 10, 1801, "Index out of range11"},
                  {6, 0, 32000, 13000, 10, 1e6f, "Index out of range11"}};
    const AcquisitionState loaded = state;
    for (const auto& [type, zero, span, reference, range, ambient, message] : rows) {
        state = loaded;
        state.RawCounts.fill(3200);
        state.ChannelValue.fill(-7.0f);
        state.InputType[11] = static_cast<std::int16_t>(type);
        (type == 0 ? state.CalZero10V : state.CalZero200mV)[11] = zero;
        (type == 0 ? state.CalSpan10V : state.CalSpan200mV)[11] = span;
        state.CalRTD[11] = reference;
        state.InputRange[11] = range;
        state.AmbientTemp1 = ambient;
        const auto failure = ConvertFrame(state, 1);
        ASSERT_TRUE(failure.has_value()) << message;
        EXPECT_EQ(failure->message(), message);
        EXPECT_EQ(state.ChannelValue[7], -7.0f) << "card 1's slots are not touched";
        EXPECT_EQ(state.ChannelValue[10], 1.0f) << "slots before it are converted";
        EXPECT_EQ(state.ChannelValue[11], -7.0f) << "it and the slots after it keep their values";
        EXPECT_EQ(state.ChannelValue[15], -7.0f);
    }
}

}  // namespace
}  // namespace vantrel
