#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>

#include "engine/LenientNumber.h"
#include "engine/ModMain.h"
#include "engine/RoundHalfEven.h"

namespace vantrel {
namespace {

// Eight six-character count fields, each followed by a comma, then the ambient field
// and the carriage return.
std::string AnalogFrame(const std::array<const char*, 8>& counts, const char* ambient) {
    std::string frame;
    for (const char* count : counts) {
        frame += count;
        frame += ',';
    }
    frame += ambient;
    frame += '\r';
    return frame;
}

const std::array<const char*, 8> kCounts = {"+00012", "-00012", "+32767", "-32768",
                                            "+00000", "+01234", "-00017", "+10000"};

TEST(AnalogFrame, TheStartFrameDecodesToZeroCountsAndTwentyFiveDegrees) {
    AcquisitionState state;
    state.RawCounts.fill(7);
    modMain::DecodeAnalogFrame(state, 0);
    for (int s = 0; s < 8; ++s) {
        EXPECT_EQ(state.RawCounts[s], 0) << s;
    }
    EXPECT_EQ(state.RawCounts[8], 7);
    EXPECT_EQ(state.AmbientTemp1, 25.0f);
}

TEST(AnalogFrame, CardOneFillsSlotsZeroToSeven) {
    AcquisitionState state;
    state.AnalogFrame1 = AnalogFrame(kCounts, "+24.5");
    modMain::DecodeAnalogFrame(state, 0);
    const std::array<int, 8> expected = {12, -12, 32767, -32768, 0, 1234, -17, 10000};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(state.RawCounts[k], expected[k]) << k;
        EXPECT_EQ(state.RawCounts[k + 8], 0) << k;
    }
    EXPECT_EQ(state.AmbientTemp1, 24.5f);
    EXPECT_EQ(state.AmbientTemp2, 0.0f);
}

TEST(AnalogFrame, CardTwoFillsSlotsEightToFifteenOnly) {
    AcquisitionState state;
    state.RawCounts.fill(5);
    state.AnalogFrame2 = AnalogFrame(kCounts, "-03.2");
    for (const int selector : {1, 2, -1}) {
        modMain::DecodeAnalogFrame(state, selector);
        for (int k = 0; k < 8; ++k) {
            EXPECT_EQ(state.RawCounts[k], 5);
        }
        EXPECT_EQ(state.RawCounts[8], 12);
        EXPECT_EQ(state.RawCounts[15], 10000);
        EXPECT_EQ(state.AmbientTemp2, -3.2f);
        EXPECT_EQ(state.AmbientTemp1, 0.0f);
    }
}

TEST(AnalogFrame, CountsRoundHalfToEven) {
    AcquisitionState state;
    state.AnalogFrame1 = AnalogFrame(
        {"0002.5", "0003.5", "-002.5", "+0.499", "1.5e+0", "  7  8", "\t-\t9 0", "x12345"},
        "25.50");
    modMain::DecodeAnalogFrame(state, 0);
    const std::array<int, 8> expected = {2, 4, -2, 0, 2, 78, -90, 0};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(state.RawCounts[k], expected[k]) << k;
    }
    EXPECT_EQ(state.AmbientTemp1, 25.5f);
}

TEST(AnalogFrame, ACountBeyondSixteenBitsDropsTheWholeFrame) {
    for (const char* bad : {"+99999", "-32769", "+32768", "9e9999", "3.3e04", "+1e308"}) {
        AcquisitionState state;
        state.AnalogFrame1 = AnalogFrame(kCounts, "+24.5");
        modMain::DecodeAnalogFrame(state, 0);
        state.AnalogFrame1 = AnalogFrame(
            {"+00001", "+00002", "+00003", "+00004", "+00005", "+00006", "+00007", bad}, "+30.0");
        ASSERT_EQ(state.AnalogFrame1.size(), 62u);
        modMain::DecodeAnalogFrame(state, 0);
        EXPECT_EQ(state.RawCounts[0], 12) << bad;
        EXPECT_EQ(state.RawCounts[7], 10000) << bad;
        EXPECT_EQ(state.AmbientTemp1, 24.5f) << bad;
    }
}

TEST(AnalogFrame, AnAmbientBeyondTheFloatRangeDropsTheFrame) {
    AcquisitionState state;
    state.AnalogFrame1 = AnalogFrame(kCounts, "+9e99");
    modMain::DecodeAnalogFrame(state, 0);
    EXPECT_EQ(state.RawCounts[0], 0);
    EXPECT_EQ(state.AmbientTemp1, 0.0f);
}

TEST(AnalogFrame, AFrameOfAnyOtherLengthChangesNothing) {
    AcquisitionState state;
    const std::string good = AnalogFrame(kCounts, "+24.5");
    for (const std::string& frame : {good.substr(0, 61), good + "\r", std::string()}) {
        state.AnalogFrame1 = frame;
        modMain::DecodeAnalogFrame(state, 0);
        EXPECT_EQ(state.RawCounts[0], 0);
        EXPECT_EQ(state.AmbientTemp1, 0.0f);
    }
}

struct LenientCase {
    const char* field;
    double value;
};

class LenientNumberCases : public ::testing::TestWithParam<LenientCase> {};

TEST_P(LenientNumberCases, ReadsTheLeadingNumber) {
    EXPECT_EQ(ReadLenientNumber(GetParam().field), GetParam().value) << GetParam().field;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, LenientNumberCases,
    ::testing::Values(LenientCase{"+01234", 1234}, LenientCase{"-00017", -17},
                      LenientCase{"+25.0", 25}, LenientCase{"25.50", 25.5}, LenientCase{"abc", 0},
                      LenientCase{"", 0}, LenientCase{"+", 0}, LenientCase{"-.5", -0.5},
                      LenientCase{"5.", 5}, LenientCase{"1 2 3", 123}, LenientCase{"12-4", 12},
                      LenientCase{"1.2.3", 1.2}, LenientCase{"2e3", 2000}, LenientCase{"2E-1", 0.2},
                      LenientCase{"2d2", 200}, LenientCase{"3e", 3}, LenientCase{"3e+", 3},
                      LenientCase{"1e-999", 0}, LenientCase{"--1", 0}, LenientCase{"\n-\t4", -4},
                      LenientCase{"\r5", 0}));

TEST(LenientNumber, ShortFieldsReadAsAFullParseWould) {
    // Every short decimal text, read directly, must equal the correctly rounded value.
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
        const int length = 1 + static_cast<int>(random() % 17);
        std::string digits;
        for (int d = 0; d < length; ++d) {
            digits.push_back(static_cast<char>('0' + random() % 10));
        }
        const auto point = random() % (digits.size() + 1);
        if (point < digits.size()) {
            digits.insert(point, ".");
        }
        double expected = 0.0;
        std::from_chars(digits.data(), digits.data() + digits.size(), expected);
        EXPECT_EQ(ReadLenientNumber(digits), expected) << digits;
        EXPECT_EQ(ReadLenientNumber("-" + digits), -expected) << digits;
    }
}

TEST(LenientNumber, NoNumberIsPlusZero) {
    EXPECT_FALSE(std::signbit(ReadLenientNumber("-")));
    EXPECT_FALSE(std::signbit(ReadLenientNumber("-x")));
}

TEST(LenientNumber, HugeExponentsGiveInfinity) {
    EXPECT_EQ(ReadLenientNumber("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(ReadLenientNumber("-1e999"), -std::numeric_limits<double>::infinity());
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, int> cases[] = {{0.5, 0},
                                            {1.5, 2},
                                            {2.5, 2},
                                            {-0.5, 0},
                                            {-1.5, -2},
                                            {-2.5, -2},
                                            {2.4999999, 2},
                                            {2.5000001, 3},
                                            {-24.5, -24},
                                            {25.5, 26},
                                            {32767.5, 32768},
                                            {-0.0, 0},
                                            {1e9 + 0.5, 1000000000}};
    for (const auto& [value, rounded] : cases) {
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
    }
    EXPECT_FALSE(RoundHalfEven(3e9).has_value());
    EXPECT_FALSE(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()).has_value());
    EXPECT_FALSE(RoundHalfEven(-std::numeric_limits<double>::infinity()).has_value());
}

struct DigitalCase {
    int card;
    const char* frame;
    unsigned inputs;
    unsigned outputs;
};

class DigitalFrameCases : public ::testing::TestWithParam<DigitalCase> {};

TEST_P(DigitalFrameCases, BitKOfEachGroupIsLineK) {
    const DigitalCase& c = GetParam();
    AcquisitionState state;
    // The other card's lines are set, to show they are left alone.
    state.DigitalIn.fill(true);
    state.DigitalOut.fill(true);
    (c.card == 0 ? state.DigitalFrame1 : state.DigitalFrame2) = c.frame;
    modMain::DecodeDigitalFrame(state, c.card);
    const int base = c.card == 0 ? 0 : 16;
    const int other = c.card == 0 ? 16 : 0;
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(state.DigitalIn[base + k], ((c.inputs >> k) & 1u) != 0) << c.frame << " " << k;
        EXPECT_EQ(state.DigitalOut[base + k], ((c.outputs >> k) & 1u) != 0) << c.frame << " " << k;
        EXPECT_TRUE(state.DigitalIn[other + k]);
        EXPECT_TRUE(state.DigitalOut[other + k]);
    }
}

INSTANTIATE_TEST_SUITE_P(Frames, DigitalFrameCases,
                         ::testing::Values(DigitalCase{0, "00010000\r", 0x0001, 0x0000},
                                           DigitalCase{1, "8000FFFF\r", 0x8000, 0xFFFF},
                                           DigitalCase{0, "abcd1234\r", 0xABCD, 0x1234},
                                           DigitalCase{0, "ABCDfe01\r", 0xABCD, 0xFE01},
                                           DigitalCase{1, "00000000\r", 0, 0}));

TEST(DigitalFrame, AGroupThatIsNotFourHexDigitsDropsTheFrame) {
    for (const char* frame : {"00G10000\r", "0001000x\r", "+0010000\r", " 0010000\r", "0x010000\r",
                              "0001-001\r", "\0\0\0\0\0\0\0\0\r"}) {
        AcquisitionState state;
        state.DigitalIn[3] = true;
        state.DigitalOut[0] = true;
        state.DigitalFrame1 = std::string(frame, 9);
        modMain::DecodeDigitalFrame(state, 0);
        EXPECT_TRUE(state.DigitalIn[3]) << frame;
        EXPECT_TRUE(state.DigitalOut[0]) << frame;
        EXPECT_FALSE(state.DigitalIn[0]) << frame;
    }
}

TEST(DigitalFrame, AFrameOfAnyOtherLengthChangesNothing) {
    for (const char* frame : {"0001000\r", "000100000\r", ""}) {
        AcquisitionState state;
        state.DigitalIn[5] = true;
        state.DigitalFrame2 = frame;
        modMain::DecodeDigitalFrame(state, 1);
        state.DigitalFrame1 = frame;
        modMain::DecodeDigitalFrame(state, 0);
        EXPECT_TRUE(state.DigitalIn[5]) << frame;
        EXPECT_FALSE(state.DigitalIn[16]) << frame;
    }
}

}  // namespace
}  // namespace vantrel
