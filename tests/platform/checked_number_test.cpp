// The check of a typed number: what it accepts (with the text kept as typed and
// its file form), what it refuses, and the message that names field, text and range.
#include <gtest/gtest.h>

#include <string>

#include "platform/CheckedNumber.h"

namespace vantrel {
namespace {

struct Case {
    std::string typed;
    char mark;
    AllowedRange range;
    bool accepted;
    double value;
    std::string fileText;
};

TEST(CheckNumber, AcceptsNumbersInRangeAndRefusesTheRest) {
    const AllowedRange any{};
    const AllowedRange withUnit{.zeroExcluded = true, .noteAllowed = true};
    const AllowedRange percent{.min = 0, .max = 100};
    const AllowedRange positive{.min = 0, .minIncluded = false};
    const AllowedRange below{.max = 10, .maxIncluded = false};
    const AllowedRange port{.min = 1, .max = 65535, .integerOnly = true};
    const Case cases[] = {
        {"12.5", '.', any, true, 12.5, "12.5"},
        {"  -3", '.', any, true, -3, "  -3"},
        {"+.5 ", '.', any, true, 0.5, "+.5 "},
        {"1e3", '.', any, true, 1000, "1e3"},
        {"12.5 V", '.', withUnit, true, 12.5, "12.5 V"},
        {"20mA", '.', withUnit, true, 20, "20mA"},
        {"12,5 V", ',', withUnit, true, 12.5, "12.5 V"},
        {"12.5", ',', any, true, 12.5, "12.5"},
        {"12.5 V", '.', any, false, 0, ""},
        {"12-4", '.', withUnit, false, 0, ""},
        {"1 2.5 V", '.', withUnit, false, 0, ""},
        {"12,5", '.', any, false, 0, ""},
        {"1.2.3", '.', any, false, 0, ""},
        {"abc", '.', withUnit, false, 0, ""},
        {"V 12", '.', withUnit, false, 0, ""},
        {"", '.', any, false, 0, ""},
        {"   ", '.', any, false, 0, ""},
        {"-", '.', any, false, 0, ""},
        {"1e999", '.', any, false, 0, ""},
        {"0", '.', percent, true, 0, "0"},
        {"100", '.', percent, true, 100, "100"},
        {"-0.001", '.', percent, false, 0, ""},
        {"100.001", '.', percent, false, 0, ""},
        {"0", '.', positive, false, 0, ""},
        {"0 V", '.', withUnit, false, 0, ""},
        {"9.99", '.', below, true, 9.99, "9.99"},
        {"10", '.', below, false, 0, ""},
        {"65535", '.', port, true, 65535, "65535"},
        {"2.5", '.', port, false, 0, ""},
        {"0", '.', port, false, 0, ""},
        {"18x3", '.', port, false, 0, ""},
    };
    for (const Case& c : cases) {
        const CheckedNumber checked = CheckNumber(c.typed, c.mark, "Field", c.range);
        EXPECT_EQ(checked.accepted, c.accepted) << '"' << c.typed << '"';
        EXPECT_EQ(checked.typed, c.typed);
        EXPECT_EQ(checked.refusal.empty(), c.accepted) << c.typed;
        if (c.accepted) {
            EXPECT_DOUBLE_EQ(checked.value, c.value) << c.typed;
            EXPECT_EQ(checked.fileText, c.fileText);
        }
    }
}

TEST(CheckNumber, RefusalNamesTheFieldTheTextAndTheRange) {
    const auto refusal = [](std::string_view typed, char mark, const AllowedRange& range) {
        return CheckNumber(typed, mark, "Input Range CH4", range).refusal;
    };
    EXPECT_EQ(refusal("abc", '.', {.zeroExcluded = true, .noteAllowed = true}),
              "Input Range CH4: \"abc\" is not accepted.\n"
              "Allowed: a number other than 0, a unit may follow.");
    EXPECT_EQ(refusal("-1", ',', {.min = 0.5, .max = 2.5}),
              "Input Range CH4: \"-1\" is not accepted.\nAllowed: a number from 0,5 to 2,5.");
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
