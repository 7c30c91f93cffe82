// Guards a channel's user scale: the line through two points or from a gain and
// offset, the texts read back as written, a unit or decimals alone, and each
// refusal naming its field.
#include <gtest/gtest.h>

#include <string>

#include "engine/ChannelScale.h"

namespace vantrel {
namespace {

struct ScaleCase {
    const char* scale;
    const char* unit;
    const char* decimals;
    double converted;
    double shown;
    std::optional<int> places;
};

TEST(ChannelScale, ReadsTheLineAndShowsItsValue) {
    const ScaleCase cases[] = {
        // clang-format off
        {"4 0 20 10",                 "bar", "1", 12.0, 5.0, 1},
        {"4 0 20 10",                 "bar", "1", 4.0, 0.0, 1},
        {"4 0 20 10",                 "bar", "1", 20.0, 10.0, 1},
        {"  20 10\t4 0 ",             "",    "",  8.0, 2.5, std::nullopt},
        {"0 100 10 -100",             "%",   "0", 2.5, 50.0, 0},
        {"gain 0.625 offset -2.5",    "bar", "9", 12.0, 5.0, 9},
        {"gain -2 offset 1e3",        "",    "",  10.0, 980.0, std::nullopt},
        {"",                          "°C",  "",  21.5, 21.5, std::nullopt},
        {"",                          "",    "3", -7.25, -7.25, 3},
        // clang-format on
    };
    for (const ScaleCase& c : cases) {
        const ScaleParse parsed = ParseChannelScale(c.scale, c.unit, c.decimals);
        const auto* scale = std::get_if<std::optional<ChannelScale>>(&parsed);
        ASSERT_TRUE(scale != nullptr && scale->has_value()) << c.scale;
        EXPECT_NEAR((*scale)->apply(c.converted), c.shown, 1e-12) << c.scale;
        EXPECT_EQ((*scale)->unit, c.unit);
        EXPECT_EQ((*scale)->decimals, c.places) << c.scale;
        const ScaleParse again = ParseChannelScale(ScaleText(**scale), c.unit, c.decimals);
        EXPECT_EQ(std::get<std::optional<ChannelScale>>(again), *scale) << ScaleText(**scale);
    }
}

TEST(ChannelScale, NothingGivenIsNoScale) {
    const ScaleParse parsed = ParseChannelScale(" ", "", "\t");
    EXPECT_FALSE(std::get<std::optional<ChannelScale>>(parsed).has_value());
}

TEST(ChannelScale, KeepsTheFormItWasGivenIn) {
    const auto twoPoints =
        std::get<std::optional<ChannelScale>>(ParseChannelScale("4 0 20 10", "", ""));
    EXPECT_EQ(ScaleText(*twoPoints), "4 0 20 10");
    const auto gain =
        std::get<std::optional<ChannelScale>>(ParseChannelScale("gain 0.5 offset -1", "", ""));
    EXPECT_EQ(ScaleText(*gain), "gain 0.5 offset -1");
}

TEST(ChannelScale, RefusesWithTheChannelAndField) {
    const std::string sixteen = "µµµµµµµµµµµµµµµµ";
    ASSERT_FALSE(std::holds_alternative<ScaleRefusal>(ParseChannelScale("", sixteen, "")));
    const struct {
        const char* scale;
        std::string unit;
        const char* decimals;
        const char* message;
    } cases[] = {
        // clang-format off
        {"4 0 4 10",           "bar",       "",   "CH3 scale: both points have the input 4"},
        {"4 0 20",             "",          "",   "CH3 scale: four numbers expected, or gain and offset"},
        {"4 0 20 1O",          "",          "",   "CH3 scale: 1O is not a number"},
        {"4,5 0 20 10",        "",          "",   "CH3 scale: 4,5 is not a number"},
        {"gain x offset 0",    "",          "",   "CH3 scale: x is not a number"},
        {"4 0 20 10",          "bar\n",     "",   "CH3 unit: a unit is one line"},
        {"4 0 20 10",          "b\rar",     "",   "CH3 unit: a unit is one line"},
        {"",                   sixteen + "m", "", "CH3 unit: more than 16 characters"},
        {"4 0 20 10",          "bar",       "10", "CH3 decimals: 0 to 9 expected"},
        {"4 0 20 10",          "bar",       "-1", "CH3 decimals: 0 to 9 expected"},
        {"",                   "",          "1.5", "CH3 decimals: 1.5 is not a whole number"},
        // clang-format on
    };
    for (const auto& c : cases) {
        const ScaleParse parsed = ParseChannelScale(c.scale, c.unit, c.decimals);
        ASSERT_TRUE(std::holds_alternative<ScaleRefusal>(parsed)) << c.message;
        EXPECT_EQ(RefusalText(3, std::get<ScaleRefusal>(parsed)), c.message);
    }
}

}  // namespace
}  // namespace vantrel
