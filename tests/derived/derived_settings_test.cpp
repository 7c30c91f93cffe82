// The [derived] part of vantrel.ini: guards a part of the line taken from the
// wrong place, a '|' in the expression cut away, a unit counted in bytes or let
// through one character too long, decimals one past the range, channels read out
// of number order or past the 16th, a name used twice, and a line that reads back
// other than written.
#include <gtest/gtest.h>

#include "derived/DerivedSettings.h"

namespace vantrel::derived {
namespace {

struct TextCase {
    const char* text;
    const char* readAs;  // as written back, or why it is refused
};

class DerivedTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(DerivedTexts, ReadBackAsWrittenOrRefusedSayingWhy) {
    const auto parsed = ParseDerivedChannel(GetParam().text);
    const std::string* why = std::get_if<std::string>(&parsed);
    EXPECT_EQ(why ? *why : DerivedChannelText(std::get<DerivedChannel>(parsed)), GetParam().readAs);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DerivedTexts,
    ::testing::Values(TextCase{"dT | K | 2 | ch1 - ch0", "dT | K | 2 | ch1 - ch0"},
                      TextCase{"  _dT2|K|0|ch1-ch0\t", "_dT2 | K | 0 | ch1-ch0"},
                      TextCase{"on | | 9 | ch0 > 1 || ch1 > 1", "on | | 9 | ch0 > 1 || ch1 > 1"},
                      TextCase{"u | abcdefghijklmnop | 1 | ch0", "u | abcdefghijklmnop | 1 | ch0"},
                      TextCase{"u | abcdefghijklmnopq | 1 | ch0",
                               "unit is longer than 16 characters"},
                      TextCase{"u | °°°°°°°°°°°°°°°° | 1 | ch0", "u | °°°°°°°°°°°°°°°° | 1 | ch0"},
                      TextCase{"u | a\nb | 1 | ch0", "unit has a line break"},
                      TextCase{"u | in\" | 1 | ch0", "unit holds a double quote"},
                      TextCase{"u | V | 10 | ch0", "decimals 10 is not 0 to 9"},
                      TextCase{"u | V | -1 | ch0", "decimals -1 is not 0 to 9"},
                      TextCase{"u | V | 2.0 | ch0", "decimals 2.0 is not 0 to 9"},
                      TextCase{"2u | V | 2 | ch0",
                               "name \"2u\" is not letters, digits and _ starting with a letter"},
                      TextCase{"d T | V | 2 | ch0",
                               "name \"d T\" is not letters, digits and _ starting with a letter"},
                      TextCase{"u | V | 2 |  ", "no expression"},
                      TextCase{"u | V | 2", "not name | unit | decimals | expression"}));

TEST(DerivedSettingsTest, ReadsInNumberOrderAndNotesEachChannelLeftOut) {
    ini::SectionTexts texts = {{"derived10", "late | | 1 | ch2"}, {"derived2", "b | | 1 | ch1"},
                               {"derived1", "a | V | 3 | ch0"},   {"derived3", "  "},
                               {"derived4", "a | | 1 | ch3"},     {"derived5", "c | | 12 | ch3"}};
    for (int n = 11; n <= 24; ++n) {
        texts.emplace("derived" + std::to_string(n), "n" + std::to_string(n) + " | | 0 | 1");
    }
    std::vector<ini::Problem> problems;
    const DerivedSettings settings = ReadDerivedSettings({{"derived", texts}}, problems);

    ASSERT_EQ(settings.channels.size(), kMaxDerivedChannels);
    EXPECT_EQ(settings.channels[0], (DerivedChannel{"a", "V", 3, "ch0"}));
    EXPECT_EQ(settings.channels[1].name + settings.channels[2].name + settings.channels[15].name,
              "blaten23");
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].key + ": " + problems[0].why, "derived4: name a is used twice");
    EXPECT_EQ(problems[1].key, "derived5");
    EXPECT_EQ(problems[2].key + ": " + problems[2].why, "derived24: more than 16 derived channels");

    const ini::SectionTexts written = DerivedSettingsTexts(settings);
    EXPECT_EQ(written.at("derived3"), "late | | 1 | ch2");
    std::vector<ini::Problem> again;
    EXPECT_EQ(ReadDerivedSettings({{"derived", written}}, again), settings);
    EXPECT_TRUE(again.empty());
}

TEST(DerivedSettingsTest, SavedNamesMarkTheirChannelsAndAnUnknownOneIsNamed) {
    std::vector<ini::Problem> problems;
    const DerivedSettings settings = ReadDerivedSettings({{"derived",
                                                           {{"derived1", "a | | 1 | ch0"},
                                                            {"derived2", "b | | 1 | ch1"},
                                                            {"derived3", "c | | 1 | ch2"},
                                                            {"saved", " c ,a,, x,+"}}}},
                                                         problems);
    ASSERT_EQ(settings.channels.size(), 3u);
    EXPECT_TRUE(settings.channels[0].saved);
    EXPECT_FALSE(settings.channels[1].saved);
    EXPECT_TRUE(settings.channels[2].saved);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].key + ": " + problems[0].why, "saved: no derived channel is named x, +");
    EXPECT_EQ(DerivedSettingsTexts(settings).at("saved"), "a, c");
}

}  // namespace
}  // namespace vantrel::derived
