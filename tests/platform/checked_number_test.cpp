// The check of a typed number: what it accepts (the text kept as typed, its file
// form with a period), what it refuses, and the message naming field, text, range.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/CheckedNumber.h"

namespace vantrel {
namespace {

TEST(CheckNumber, AcceptsNumbersInRangeAndRefusesTheRest) {
    const AllowedRange any{};
    const AllowedRange unit{.zeroExcluded = true, .noteAllowed = true};
    const AllowedRange percent{.min = 0, .max = 100};
    const AllowedRange below{.min = 0, .max = 10, .minIncluded = false, .maxIncluded = false};
    const AllowedRange port{.min = 1, .max = 65535, .integerOnly = true};
    const std::optional<double> no;
    const struct {
        const char* typed;
        char mark;
        AllowedRange range;
        std::optional<double> value;
    } cases[] = {
        {"  -3", '.', any, -3},        {"+.5 ", '.', any, 0.5},    {"1e3", '.', any, 1000},
        {"12.5 V", '.', unit, 12.5},   {"20mA", '.', unit, 20},    {"12,5 V", ',', unit, 12.5},
        {"12.5", ',', any, 12.5},      {"12.5 V", '.', any, no},   {"12-4", '.', unit, no},
        {"1 2.5 V", '.', unit, no},    {"12,5", '.', any, no},     {"1.2.3", '.', any, no},
        {"abc", '.', unit, no},        {"V 12", '.', unit, no},    {"", '.', any, no},
        {"  ", '.', any, no},          {"-", '.', any, no},        {"1e999", '.', any, no},
        {"0", '.', percent, 0},        {"100", '.', percent, 100}, {"-0.001", '.', percent, no},
        {"100.001", '.', percent, no}, {"0 V", '.', unit, no},     {"0", '.', below, no},
        {"9.99", '.', below, 9.99},    {"10", '.', below, no},     {"65535", '.', port, 65535},
        {"2.5", '.', port, no},        {"0", '.', port, no},       {"18x3", '.', port, no},
    };
    for (const auto& c : cases) {
        const CheckedNumber checked = CheckNumber(c.typed, c.mark, "Field", c.range);
        EXPECT_EQ(checked.accepted, c.value.has_value()) << '"' << c.typed << '"';
        EXPECT_EQ(checked.refusal.empty(), checked.accepted) << c.typed;
        EXPECT_EQ(checked.typed, c.typed);
        EXPECT_DOUBLE_EQ(checked.value, c.value.value_or(0)) << c.typed;
    }
    EXPECT_EQ(CheckNumber("12,5 V", ',', "", unit).fileText, "12.5 V");
}

TEST(CheckNumber, RefusalNamesTheFieldTheTextAndTheRange) {
    EXPECT_EQ(
        CheckNumber("abc", '.', "Input Range CH4", {.zeroExcluded = true, .noteAllowed = true})
            .refusal,
        "Input Range CH4: \"abc\" is not accepted.\n"
        "Allowed: a number other than 0, a unit may follow.");
    EXPECT_EQ(CheckNumber("-1", ',', "Gain", {.min = 0.5, .max = 2.5}).refusal,
              "Gain: \"-1\" is not accepted.\nAllowed: a number from 0,5 to 2,5.");
    EXPECT_EQ(AllowedRangeText({.min = 0, .minIncluded = false}, '.'), "a number greater than 0");
    EXPECT_EQ(AllowedRangeText({.min = 1, .integerOnly = true}, '.'),
              "a whole number of at least 1");
    EXPECT_EQ(AllowedRangeText({.max = 10, .maxIncluded = false}, '.'), "a number less than 10");
    EXPECT_EQ(
        AllowedRangeText({.min = -5, .max = 5, .maxIncluded = false, .zeroExcluded = true}, '.'),
        "a number of at least -5 and less than 5, not 0");
}

}  // namespace
}  // namespace vantrel
