#include "setup/ConfigFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel {
namespace {

CardConfiguration Defaults() {
    CardConfiguration config;
    config.lineIsInput.fill(true);
    config.inputType.fill(0);
    config.rangeText.fill("10");
    return config;
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

std::vector<std::string> FileLines(const std::string& contents) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < contents.size()) {
        const std::size_t end = contents.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
        if (end == std::string::npos) {
            break;
        }
        lines.push_back(contents.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

ConfigFileParse Parse(const std::string& text) {
    return ParseConfigFile(FieldReader(text));
}

TEST(ConfigFile, DefaultsAreTenLines) {
    EXPECT_EQ(FormatConfigFile(Defaults()),
              Lines({"FFFF", "00000000", "10", "10", "10", "10", "10", "10", "10", "10"}));
}

struct MaskCase {
    std::vector<int> inputs;  // lines that are inputs
    const char* text;
};

class DirectionMask : public ::testing::TestWithParam<MaskCase> {};

TEST_P(DirectionMask, WritesPaddedUpperCaseHexAndReadsItBack) {
    CardConfiguration config = Defaults();
    config.lineIsInput.fill(false);
    for (int d : GetParam().inputs) {
        config.lineIsInput[d] = true;
    }
    const std::string contents = FormatConfigFile(config);
    EXPECT_EQ(FileLines(contents).at(0), GetParam().text);

    const auto parsed = Parse(contents);
    ASSERT_TRUE(parsed.config) << parsed.error;
    EXPECT_EQ(parsed.config->lineIsInput, config.lineIsInput);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, DirectionMask,
    ::testing::Values(MaskCase{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, "FFFF"},
                      MaskCase{{0, 1, 2, 3, 4, 5, 6, 7}, "00FF"}, MaskCase{{}, "0000"},
                      MaskCase{{15}, "8000"}, MaskCase{{0}, "0001"}, MaskCase{{0, 1, 2, 3}, "000F"},
                      MaskCase{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, "0FFF"},
                      MaskCase{{4, 8}, "0110"}));

TEST(ConfigFile, TypeCodeStringHasOneDigitPerChannel) {
    CardConfiguration config = Defaults();
    config.inputType = {4, 1, 1, 1, 1, 1, 1, 1};
    EXPECT_EQ(FileLines(FormatConfigFile(config)).at(1), "41111111");
}

TEST(ConfigFile, MixedConfigurationRoundTrips) {
    CardConfiguration config;
    config.lineIsInput = {true,  false, false, true,  true, true, false, true,
                          false, false, false, false, true, true, true,  false};
    config.inputType = {0, 1, 2, 3, 4, 5, 6, 3};
    // Texts the reader would otherwise split, drop or trim must come back whole.
    config.rangeText = {"12.5 V", "1,5", "", "abc", "5\"", "-200", "1e3", "  "};
    const auto parsed = Parse(FormatConfigFile(config));
    ASSERT_TRUE(parsed.config) << parsed.error;
    EXPECT_EQ(*parsed.config, config);
}

TEST(ConfigFile, OnlyTextsThatNeedItAreQuoted) {
    CardConfiguration config = Defaults();
    config.rangeText[2] = "1,5";
    config.rangeText[3] = "";
    config.rangeText[4] = "12.5 V";
    const auto lines = FileLines(FormatConfigFile(config));
    EXPECT_EQ(lines.at(4), "\"1,5\"");
    EXPECT_EQ(lines.at(5), "\"\"");
    EXPECT_EQ(lines.at(6), "12.5 V");
}

TEST(ConfigFile, ReadsTypeStringLeniently) {
    const auto parsed = Parse(Lines({"ffff", "0123", "1", "2", "3", "4", "5", "6", "7", "8"}));
    ASSERT_TRUE(parsed.config) << parsed.error;
    EXPECT_EQ(parsed.config->inputType, (std::array<int, 8>{0, 1, 2, 3, 0, 0, 0, 0}));
    EXPECT_EQ(parsed.config->rangeText[7], "8");
    EXPECT_TRUE(parsed.config->lineIsInput[15]);

    const auto nonDigits = Parse(Lines({"0", "4x-6", "1", "2", "3", "4", "5", "6", "7", "8"}));
    ASSERT_TRUE(nonDigits.config) << nonDigits.error;
    EXPECT_EQ(nonDigits.config->inputType, (std::array<int, 8>{4, 0, 0, 6, 0, 0, 0, 0}));
}

TEST(ConfigFile, BitsAboveFifteenPlayNoPart) {
    const auto parsed = Parse(Lines({"123458001", "0", "1", "2", "3", "4", "5", "6", "7", "8"}));
    ASSERT_TRUE(parsed.config) << parsed.error;
    for (int d = 0; d < kLinesPerCard; ++d) {
        EXPECT_EQ(parsed.config->lineIsInput[d], d == 0 || d == 15) << d;
    }
}

struct BadFile {
    const char* name;
    std::string text;
    const char* mentions;
};

class BadConfigFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadConfigFile, IsRefusedWithTheLineNamed) {
    const auto parsed = Parse(GetParam().text);
    EXPECT_FALSE(parsed.config);
    EXPECT_NE(parsed.error.find(GetParam().mentions), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadConfigFile,
    ::testing::Values(
        BadFile{"Empty", "", "is empty"},
        BadFile{"NineLines", Lines({"FFFF", "0", "1", "2", "3", "4", "5", "6", "7"}),
                "ends after line 9"},
        BadFile{"NotHex", Lines({"FFFG", "0", "1", "2", "3", "4", "5", "6", "7", "8"}), "Line 1"},
        BadFile{"EmptyMask", Lines({"\"\"", "0", "1", "2", "3", "4", "5", "6", "7", "8"}),
                "Line 1"},
        BadFile{"TypeNine", Lines({"FFFF", "01290000", "1", "2", "3", "4", "5", "6", "7", "8"}),
                "Line 2"},
        BadFile{"TypeSeven", Lines({"FFFF", "00000007", "1", "2", "3", "4", "5", "6", "7", "8"}),
                "analog input 7 the input type 7"},
        BadFile{"UnclosedQuote", Lines({"FFFF", "0", "1", "2", "3", "4", "5", "6", "7", "\"8"}),
                "ten lines"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigFileProblem, RefusesWhatCannotReadBack) {
    EXPECT_FALSE(ConfigFileProblem(Defaults()));

    CardConfiguration noType = Defaults();
    noType.inputType[5] = -1;
    ASSERT_TRUE(ConfigFileProblem(noType));
    EXPECT_NE(ConfigFileProblem(noType)->find("input 5"), std::string::npos);

    for (const char* text : {"1,\"5", "\"5", "  \"5", "\"", "1\r\n2"}) {
        CardConfiguration config = Defaults();
        config.rangeText[2] = text;
        ASSERT_TRUE(ConfigFileProblem(config)) << text;
        EXPECT_NE(ConfigFileProblem(config)->find("input 2"), std::string::npos);
    }
}

}  // namespace
}  // namespace vantrel
