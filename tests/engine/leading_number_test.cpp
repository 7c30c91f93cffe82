// Guards the one reader of "the number a text begins with" under the three rule
// sets its callers use: sign, fraction, an exponent only with digits, stopping at
// the first character that cannot continue the number, blanks skipped anywhere or
// only in front, the "d" exponent, and a number beyond a double giving an infinity
// (of the right sign, even with a long mantissa and a negative exponent) or 0.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "engine/LenientNumber.h"

namespace vantrel {
namespace {

TEST(LeadingNumber, ReadsEachCallersTextsByItsRules) {
    constexpr NumberRules card = number_rules::kCardField;
    constexpr NumberRules range = number_rules::kInputRange;
    constexpr NumberRules trend = number_rules::kTrendRange;
    const std::string hugeMantissa = "1" + std::string(400, '0') + "e-5";
    const std::tuple<std::string, NumberRules, double> rows[] = {
        {"+01234", card, 1234},
        {"-00017", card, -17},
        {"+25.0", card, 25},
        {"-.5", card, -0.5},
        {".00001", card, 1e-5},
        {"0.1234567890123456789", card, 0.1234567890123456789},
        {"12-4", card, 12},
        {"1.2.3", card, 1.2},
        {"2E-1", card, 0.2},
        {"3e+", card, 3},
        {"\r5", card, 0},
        {"nan", card, 0},
        {"12.5 V", range, 12.5},
        {"1,5", range, 1},
        {"+-4", range, 0},
        {"", trend, 0},
        {"inf", trend, 0},
        // Blanks
        {"1 5", card, 15},
        {"\t1\n0", range, 10},
        {"- 5", range, -5},
        {"1e 3", card, 1000},
        {"  12.5", trend, 12.5},
        {"1 5", trend, 1},
        {"- 5", trend, 0},
        {"1e 3", trend, 1},
        // The d exponent
        {"2d2", card, 200},
        {"2D-2", card, 0.02},
        {"2d2", range, 2},
        {"2d2", trend, 2},
        // Beyond a double
        {"1e999", card, INFINITY},
        {"-1e999", card, -INFINITY},
        {hugeMantissa, card, INFINITY},
        {"1e-999", card, 0},
        {"1e999", range, 0},
        {"1e999", trend, INFINITY},
    };
    for (const auto& [text, rules, value] : rows) {
        EXPECT_EQ(LeadingNumber(text, rules), value)
            << '"' << text << "\" blanksAnywhere " << rules.blanksAnywhere;
    }
}

}  // namespace
}  // namespace vantrel
