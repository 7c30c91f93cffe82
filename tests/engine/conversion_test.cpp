#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/ModMain.h"
#include "engine/RtdPolynomial.h"
#include "tests/engine/Tables.h"
#include "tests/support/LiteralConversion.h"

namespace vantrel {
namespace {

using Kind = ConversionFailure::Kind;

class Conversion : public ::testing::Test {
  protected:
    void SetUp() override { testing::LoadShippedTables(state); }

    float convertOne(int slot, int type, std::int16_t count) {
        state.InputType[slot] = static_cast<std::int16_t>(type);
        state.RawCounts[slot] = count;
        const auto failure = modMain::ConvertFrame(state, slot < 8 ? 0 : 1);
        EXPECT_FALSE(failure.has_value()) << (failure ? failure->message() : "");
        return state.ChannelValue[slot];
    }

    AcquisitionState state;
};

TEST_F(Conversion, PlusMinusTenVoltsScalesBetweenZeroAndSpan) {
    EXPECT_EQ(convertOne(0, 0, 16000), 5.0f);
    EXPECT_EQ(convertOne(0, 0, -16000), -5.0f);
    EXPECT_EQ(convertOne(0, 0, 32000), 10.0f);
    state.CalZero10V[2] = 100;
    state.CalSpan10V[2] = 20100;
    state.InputRange[2] = 5.0;
    EXPECT_EQ(convertOne(2, 0, -19900), -5.0f);
    EXPECT_EQ(convertOne(2, 0, 100), 0.0f);
}

TEST_F(Conversion, FourToTwentyMilliampsStartsAtAFifthOfTheSpan) {
    state.InputRange[1] = 100.0;
    EXPECT_EQ(convertOne(1, 2, 6400), 0.0f);
    EXPECT_EQ(convertOne(1, 2, 32000), 100.0f);
    EXPECT_EQ(convertOne(1, 2, 0), -25.0f);
    EXPECT_EQ(convertOne(1, 2, 19200), 50.0f);
}

TEST_F(Conversion, ZeroToTwentyMilliampsAndTwoHundredMillivoltsAgree) {
    state.CalZero200mV[4] = -300;
    state.CalSpan200mV[4] = 31000;
    state.InputRange[4] = 20.0;
    for (const std::int16_t count : {-32468, -300, 0, 1234, 31000, 32467}) {
        const float current = convertOne(4, 1, count);
        EXPECT_EQ(convertOne(4, 3, count), current) << count;
    }
    EXPECT_EQ(convertOne(4, 1, 31000), 20.0f);
}

TEST_F(Conversion, TheProductIsFormedBeforeTheDivision) {
    // 1 x 0.3 / 3 is 0.1 exactly as a double, while 1 / 3 x 0.3 is not.
    state.CalSpan10V[0] = 3;
    state.InputRange[0] = 0.3;
    const float value = convertOne(0, 0, 1);
    EXPECT_EQ(value, static_cast<float>(1 * 0.3 / 3));
    state.InputRange[0] = 1e38;
    state.CalSpan10V[0] = 32000;
    EXPECT_EQ(convertOne(0, 0, 32000), static_cast<float>(32000 * 1e38 / 32000));
}

TEST_F(Conversion, UnknownTypeCodesPassTheCountThrough) {
    for (const int type : {7, 100, -1, -32768}) {
        EXPECT_EQ(convertOne(5, type, -1234), -1234.0f) << type;
    }
}

TEST_F(Conversion, PtHundredWorkedValues) {
    struct Case {
        std::int16_t count;
        double expected;
    };
    for (const Case c :
         {Case{13000, 0.05}, Case{14000, 19.75}, Case{18005, 100.05}, Case{2000, -199.95}}) {
        EXPECT_NEAR(modMain::RtdTemperature(c.count, 13000), c.expected, 1e-9) << c.count;
        EXPECT_EQ(convertOne(3, 4, c.count), static_cast<float>(c.expected)) << c.count;
    }
}

TEST_F(Conversion, PtHundredSearchFollowsTheDriftingGrid) {
    // The walk never lands on 0 exactly, so a ratio of exactly 0 is not a hit.
    EXPECT_NE(modMain::RtdTemperature(13000, 13000), 0.05);
    EXPECT_NEAR(rtd::ResistanceRatio(-200.0), -0.804812, 1e-12);
    EXPECT_NEAR(rtd::ResistanceRatio(100.0), 0.385, 1e-12);
    EXPECT_NEAR(rtd::ResistanceRatio(850.0), 2.9026225, 1e-12);
    // At or above the curve's top the walk ends where the grid reaches 850.
    EXPECT_EQ(static_cast<float>(modMain::RtdTemperature(32767, 1)), 850.0f);
    EXPECT_EQ(modMain::RtdTemperature(-32768, 1), -200.0 + 0.05);
}

TEST_F(Conversion, TypeJBelowItsFirstEntryGivesHalfADegree) {
    state.AmbientTemp1 = 0.0f;
    EXPECT_EQ(convertOne(0, 5, -100), 0.5f);
    EXPECT_EQ(convertOne(0, 5, 0), 0.0f);  // exactly entry 0
}

TEST_F(Conversion, TypeKCoversMinusTwoHundredToThirteenSixtyNine) {
    state.AmbientTemp1 = 0.0f;
    EXPECT_EQ(convertOne(0, 6, -32000), -199.5f);
    EXPECT_EQ(convertOne(0, 6, 32000), 1369.0f);
}

TEST_F(Conversion, AmbientIsRoundedHalfToEvenForTheColdJunction) {
    // With no thermocouple voltage the target is the cold junction's own entry.
    state.AmbientTemp1 = 24.5f;
    EXPECT_EQ(convertOne(0, 5, 0), 24.0f);
    state.AmbientTemp1 = 25.5f;
    EXPECT_EQ(convertOne(0, 5, 0), 26.0f);
    EXPECT_EQ(convertOne(0, 6, 0), 26.0f);
}

TEST_F(Conversion, CardTwoIsCompensatedWithCardOnesAmbient) {
    state.AmbientTemp1 = 30.0f;
    state.AmbientTemp2 = 80.0f;
    EXPECT_EQ(convertOne(9, 5, 0), 30.0f);
    EXPECT_EQ(convertOne(9, 6, 0), 30.0f);
}

TEST_F(Conversion, ThermocoupleVoltageAddsToTheColdJunction) {
    // 200 mV over 32000 counts: 5.269 mV (J at 100 degrees) is 843.04 counts.
    state.AmbientTemp1 = 0.0f;
    const float at100 = convertOne(0, 5, 843);
    EXPECT_GT(at100, 99.0f);
    EXPECT_LT(at100, 101.0f);
    EXPECT_EQ(at100 - std::floor(at100), 0.5f);
    state.AmbientTemp1 = 20.0f;
    EXPECT_NEAR(convertOne(0, 5, 843), at100 + 20.0f, 1.0f);
}

TEST_F(Conversion, OtherKindsOfThermocoupleGiveZero) {
    EXPECT_EQ(modMain::ThermocoupleTemperature(state, 1000, 2, 1.0), 0.0);
    EXPECT_EQ(literal::ThermocoupleTemperature(state, 1000, -1, 1.0), 0.0);
}

TEST_F(Conversion, CardTwoConvertsOnlySlotsEightToFifteen) {
    state.ChannelValue.fill(-7.0f);
    state.RawCounts.fill(3200);
    EXPECT_FALSE(modMain::ConvertFrame(state, 1).has_value());
    for (int s = 0; s < 8; ++s) {
        EXPECT_EQ(state.ChannelValue[s], -7.0f);
        EXPECT_EQ(state.ChannelValue[s + 8], 1.0f);
    }
    EXPECT_EQ(state.ChannelValue[16], -7.0f);
}

struct FailureCase {
    const char* name;
    void (*setUp)(AcquisitionState&, int slot);
    Kind kind;
};

class ConversionFailures : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ConversionFailures, StopTheCardAtTheFailingSlot) {
    AcquisitionState state;
    testing::LoadShippedTables(state);
    state.RawCounts.fill(3200);
    state.ChannelValue.fill(-7.0f);
    constexpr int kSlot = 11;
    GetParam().setUp(state, kSlot);
    const auto failure = modMain::ConvertFrame(state, 1);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->kind, GetParam().kind);
    EXPECT_EQ(failure->slot, kSlot);
    for (int s = 8; s < kSlot; ++s) {
        EXPECT_EQ(state.ChannelValue[s], 1.0f) << s;
    }
    for (int s = kSlot; s < 16; ++s) {
        EXPECT_EQ(state.ChannelValue[s], -7.0f) << s;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Causes, ConversionFailures,
    ::testing::Values(
        FailureCase{"ZeroSpanTenVolts",
                    [](AcquisitionState& s, int i) { s.CalSpan10V[i] = s.CalZero10V[i]; },
                    Kind::DivisionByZero},
        FailureCase{"ZeroSpanFourToTwenty",
                    [](AcquisitionState& s, int i) {
                        s.InputType[i] = 2;
                        s.CalSpan200mV[i] = s.CalZero200mV[i] = 5;
                    },
                    Kind::DivisionByZero},
        FailureCase{"ZeroSpanAtTheZeroCount",
                    [](AcquisitionState& s, int i) {
                        s.InputType[i] = 3;
                        s.CalSpan200mV[i] = s.CalZero200mV[i] = s.RawCounts[i];
                    },
                    Kind::DivisionByZero},
        FailureCase{"ZeroRtdReference",
                    [](AcquisitionState& s, int i) {
                        s.InputType[i] = 4;
                        s.CalRTD[i] = 0;
                    },
                    Kind::DivisionByZero},
        FailureCase{"ZeroThermocoupleSpan",
                    [](AcquisitionState& s, int i) {
                        s.InputType[i] = 6;
                        s.CalSpan200mV[i] = 0;
                        s.CalZero200mV[i] = 0;
                    },
                    Kind::DivisionByZero},
        FailureCase{"CountMinusZeroBeyondSixteenBits",
                    [](AcquisitionState& s, int i) {
                        s.RawCounts[i] = -32768;
                        s.CalZero10V[i] = 1;
                    },
                    Kind::Overflow},
        FailureCase{"SpanMinusZeroBeyondSixteenBits",
                    [](AcquisitionState& s, int i) {
                        s.InputType[i] = 5;
                        s.CalSpan200mV[i] = 32000;
                        s.CalZero200mV[i] = -1000;
                        s.RawCounts[i] = 0;
                    },
                    Kind::Overflow},
        FailureCase{"ValueBeyondTheFloatRange",
                    [](AcquisitionState& s, int i) { s.InputRange[i] = 1e300; }, Kind::Overflow},
        FailureCase{"ProductBeyondTheDoubleRange",
                    [](AcquisitionState& s, int i) {
                        s.InputRange[i] = std::numeric_limits<double>::max();
                    },
                    Kind::Overflow},
        FailureCase{"TypeJAmbientBelowMinusHalfADegree",
                    [](AcquisitionState& s, int i) {
                        s.InputType[i] = 5;
                        s.AmbientTemp1 = -0.6f;
                    },
                    Kind::IndexOutOfRange},
        FailureCase{"TypeKAmbientAboveTheTable",
                    [](AcquisitionState& s, int i) {
                        s.InputType[i] = 6;
                        s.AmbientTemp1 = 1801.0f;
                    },
                    Kind::IndexOutOfRange},
        FailureCase{"AmbientBeyondSixteenBits",
                    [](AcquisitionState& s, int i) {
                        s.InputType[i] = 6;
                        s.AmbientTemp1 = 1e6f;
                    },
                    Kind::IndexOutOfRange}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST(ConversionFailureMessage, DescriptionIsFollowedDirectlyByTheSlot) {
    EXPECT_EQ((ConversionFailure{Kind::DivisionByZero, 3}.message()), "Division by zero3");
    EXPECT_EQ((ConversionFailure{Kind::Overflow, 12}.message()), "Overflow12");
    EXPECT_EQ((ConversionFailure{Kind::IndexOutOfRange, 0}.message()), "Index out of range0");
}

TEST_F(Conversion, AmbientAtMinusHalfADegreeStillReadsEntryZero) {
    state.AmbientTemp1 = -0.5f;
    EXPECT_EQ(convertOne(0, 5, 0), 0.0f);
}

TEST_F(Conversion, ALastingFaultFailsEveryFrameAgain) {
    state.CalSpan10V[0] = 0;
    EXPECT_TRUE(modMain::ConvertFrame(state, 0).has_value());
    EXPECT_TRUE(modMain::ConvertFrame(state, 0).has_value());
    state.CalSpan10V[0] = 32000;
    EXPECT_FALSE(modMain::ConvertFrame(state, 0).has_value());
}

}  // namespace
}  // namespace vantrel
