// Guards a channel's user scale: the line through two points or from a gain and
// offset, the texts read back as written, a unit or decimals alone, and each
// refusal naming its field.
#include <gtest/gtest.h>

#include <string>

#include "engine/ChannelScale.h"
#include "engine/ScaledValue.h"
#include "settings/ChannelScaleSettings.h"

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
        {"0 0 1e-320 1e300",   "",          "",   "CH3 scale: the points give no usable line"},
        {"4 0 20",             "",          "",   "CH3 scale: four numbers expected, or gain and offset"},
        {"4 0 20 1O",          "",          "",   "CH3 scale: 1O is not a number"},
        {"4,5 0 20 10",        "",          "",   "CH3 scale: 4,5 is not a number"},
        {"gain x offset 0",    "",          "",   "CH3 scale: x is not a number"},
        {"4 0 20 10",          "bar\n",     "",   "CH3 unit: a unit is one line"},
        {"4 0 20 10",          "in\"",      "",   "CH3 unit: a unit holds no double quote"},
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

namespace vantrel::ini {
namespace {

TEST(ChannelScaleSettings, ReadsEachChannelsKeysNotesRefusalsAndWritesThemBack) {
    const FileTexts file = {{"channels",
                             {{"ch3_scale", "4 0 20 10"},
                              {"ch3_unit", "bar"},
                              {"ch3_decimals", "1"},
                              {"ch15_unit", "°C"},
                              {"ch5_scale", "4 0 4 1"},
                              {"ch6_decimals", "12"},
                              {"ch16_unit", "V"},
                              {"ch3_scal", "1 2 3 4"}}}};
    std::vector<Problem> problems;
    const ChannelScales scales = ReadChannelScales(file, problems);
    ASSERT_TRUE(scales[3].has_value());
    EXPECT_DOUBLE_EQ(scales[3]->apply(12.0), 5.0);
    EXPECT_FALSE(scales[5].has_value());
    EXPECT_FALSE(scales[6].has_value());
    std::vector<std::string> texts;
    for (const Problem& problem : problems) {
        texts.push_back(ProblemText(problem));
    }
    const std::vector<std::string> expected = {
        "[channels] ch5_scale: \"4 0 4 1\" is not valid (both points have the input 4), nothing "
        "is used instead.",
        "[channels] ch6_decimals: \"12\" is not valid (0 to 9 expected), nothing is used instead.",
        "[channels] ch16_unit: no such setting, ignored.",
        "[channels] ch3_scal: no such setting, ignored. Did you mean ch3_scale?"};
    EXPECT_EQ(texts, expected);
    const SectionTexts written = ChannelScalesTexts(scales);
    const SectionTexts kept = {{"ch3_scale", "4 0 20 10"},
                               {"ch3_unit", "bar"},
                               {"ch3_decimals", "1"},
                               {"ch15_unit", "°C"}};
    EXPECT_EQ(written, kept);
}

}  // namespace
}  // namespace vantrel::ini
