// The logged text of a value: seven significant digits, plain notation for
// decimal exponents -4..6 of the rounded value, exponent notation otherwise.
#include <gtest/gtest.h>

#include <clocale>
#include <limits>

#include "logging/ValueText.h"

namespace vantrel {
namespace {

struct ValueCase {
    float value;
    const char* text;
};

class ValueTextTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueTextTest, FollowsTheLogRules) {
    EXPECT_EQ(ValueText(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    PlainNumbers, ValueTextTest,
    ::testing::Values(ValueCase{0.0f, "0"}, ValueCase{-0.0f, "0"}, ValueCase{0.5f, "0.5"},
                      ValueCase{-0.5f, "-0.5"}, ValueCase{-2.0f, "-2"}, ValueCase{25.0f, "25"},
                      ValueCase{100.0f, "100"}, ValueCase{0.1f, "0.1"},
                      ValueCase{1234567.0f, "1234567"}, ValueCase{9999999.0f, "9999999"},
                      ValueCase{0.0001f, "0.0001"}, ValueCase{-0.0001f, "-0.0001"},
                      ValueCase{1.0f / 3.0f, "0.3333333"}, ValueCase{2.0f / 3.0f, "0.6666667"},
                      ValueCase{1.2345678f, "1.234568"}, ValueCase{123456.78f, "123456.8"},
                      ValueCase{-273.15f, "-273.15"}, ValueCase{0.00012345678f, "0.0001234568"}));

INSTANTIATE_TEST_SUITE_P(
    ExponentNumbers, ValueTextTest,
    ::testing::Values(ValueCase{12345678.0f, "1.234568E+07"}, ValueCase{1e7f, "1E+07"},
                      // Rounds up to ten million, which is past the plain range.
                      ValueCase{9999999.5f, "1E+07"}, ValueCase{-3.4e38f, "-3.4E+38"},
                      ValueCase{std::numeric_limits<float>::max(), "3.402823E+38"},
                      ValueCase{1e-5f, "1E-05"}, ValueCase{0.00001234f, "1.234E-05"},
                      ValueCase{-0.000099999f, "-9.9999E-05"}, ValueCase{1e20f, "1E+20"},
                      ValueCase{std::numeric_limits<float>::denorm_min(), "1.401298E-45"}));

// A desktop session may run with a comma as decimal separator; the log keeps
// the point regardless.
TEST(ValueTextLocale, KeepsThePointUnderACommaLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "no German locale installed";
    }
    EXPECT_EQ(ValueText(1.25f), "1.25");
    EXPECT_EQ(ValueText(12345678.0f), "1.234568E+07");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace vantrel
