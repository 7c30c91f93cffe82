#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "views/DigitalLineMap.h"
#include "views/LeadingNumber.h"

namespace vantrel {
namespace {

struct LeadingCase {
    std::string text;
    double expected;
};

class LeadingNumberTest : public ::testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTest, ReadsTheNumberTheTextBeginsWith) {
    EXPECT_EQ(LeadingNumber(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, LeadingNumberTest,
                         ::testing::Values(LeadingCase{"250", 250.0}, LeadingCase{"  12.5", 12.5},
                                           LeadingCase{"250 units", 250.0}, LeadingCase{"+7", 7.0},
                                           LeadingCase{"-3", -3.0}, LeadingCase{".5", 0.5},
                                           LeadingCase{"1e3", 1000.0}, LeadingCase{"2e", 2.0},
                                           LeadingCase{"1,5", 1.0}, LeadingCase{"", 0.0},
                                           LeadingCase{"abc", 0.0}, LeadingCase{"-", 0.0},
                                           LeadingCase{".", 0.0}, LeadingCase{"inf", 0.0},
                                           LeadingCase{"nan", 0.0}, LeadingCase{"1e-999", 0.0}));

TEST(LeadingNumber, TooLargeForADoubleIsInfinityWithItsSign) {
    EXPECT_EQ(LeadingNumber("1e999"), INFINITY);
    EXPECT_EQ(LeadingNumber("-1e999"), -INFINITY);
}

TEST(DigitalLineMap, CardTwoRunsFromItsHighestLineDown) {
    for (int i = 0; i < kLinesPerCard; ++i) {
        EXPECT_EQ(LineForIndex(i), i);
        EXPECT_EQ(CardForIndex(i), 0);
    }
    EXPECT_EQ(LineForIndex(16), 31);
    EXPECT_EQ(LineForIndex(31), 16);
    for (int i = kLinesPerCard; i < kDigitalControls; ++i) {
        EXPECT_EQ(CardForIndex(i), 1);
        EXPECT_EQ(LineForIndex(i) + i, 47);
    }
}

}  // namespace
}  // namespace vantrel
