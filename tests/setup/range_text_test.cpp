#include "setup/RangeText.h"

#include <gtest/gtest.h>

#include <limits>

namespace vantrel {
namespace {

struct Reading {
    const char* text;
    double value;
};

class InputRangeValueTest : public ::testing::TestWithParam<Reading> {};

TEST_P(InputRangeValueTest, ReadsTheNumberAtTheStart) {
    EXPECT_DOUBLE_EQ(InputRangeValue(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    RangeTexts, InputRangeValueTest,
    ::testing::Values(Reading{"12.5 V", 12.5}, Reading{"abc", 0}, Reading{"  7", 7},
                      Reading{"1 5", 15}, Reading{"\t1\n0", 10}, Reading{"", 0}, Reading{"-", 0},
                      Reading{".", 0}, Reading{"+3", 3}, Reading{"-2.5e2", -250},
                      Reading{"2E3x", 2000}, Reading{"1e", 1}, Reading{"1e+", 1},
                      Reading{"4e-1", 0.4}, Reading{".5", 0.5}, Reading{"5.", 5},
                      Reading{"1.2.3", 1.2}, Reading{"1,5", 1}, Reading{"- 4", -4},
                      Reading{"+-4", 0}, Reading{"1e999", 0}, Reading{"1e-999", 0},
                      Reading{"V10", 0}));

TEST(RangeDisplayText, IsPlainDecimalWithoutTrailingZeros) {
    EXPECT_EQ(RangeDisplayText(10.0), "10");
    EXPECT_EQ(RangeDisplayText(2.5), "2.5");
    EXPECT_EQ(RangeDisplayText(-0.0), "0");
    EXPECT_EQ(RangeDisplayText(1e20), "100000000000000000000");
    EXPECT_EQ(RangeDisplayText(1e-7), "0.0000001");
}

TEST(RangeDisplayText, ReadsBackAsTheSameNumber) {
    for (double value :
         {10.0, 2.5, 0.1, -3.25, 1.0 / 3.0, 12345.678, 1e-300, 1e300,
          std::numeric_limits<double>::max(), std::numeric_limits<double>::denorm_min()}) {
        EXPECT_EQ(InputRangeValue(RangeDisplayText(value)), value) << RangeDisplayText(value);
    }
}

}  // namespace
}  // namespace vantrel
