// Guards the configuration file and the range box texts.
// File: what is written reads back whole, range texts included (quoted only when a
// comma or blank would split or drop them); the mask read in either case with bits
// above 15 ignored, lenient type digits; a file of fewer than ten fields or a mask
// that is not hex refused; no file written that could not be read back. The
// written text and a type code of 7 are checked through the window.
// Range box: the stored number shown back as plain decimal without trailing zeros,
// reading back the same.
#include "setup/ConfigFile.h"

#include <gtest/gtest.h>

#include "engine/LenientNumber.h"
#include "setup/RangeText.h"

namespace vantrel {
namespace {

TEST(ConfigFile, ReadsBackWhatItWrites) {
    CardConfiguration config;
    config.lineIsInput = {true,  false, false, true,  true, true, false, true,
                          false, false, false, false, true, true, true,  false};
    config.inputType = {0, 1, 2, 3, 4, 5, 6, 3};
    config.rangeText = {"12.5 V", "1,5", "", "abc", "5\"", "-200", "1e3", "  "};
    const auto parsed = ParseConfigFile(FieldReader(FormatConfigFile(config)));
    ASSERT_TRUE(parsed.config) << parsed.error;
    EXPECT_EQ(*parsed.config, config);
}

TEST(ConfigFile, ReadsTheMaskInEitherCaseAndTypeDigitsLeniently) {
    const auto parsed =
        ParseConfigFile(FieldReader("1abcf\r\n4x-6\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n"));
    ASSERT_TRUE(parsed.config) << parsed.error;
    for (int d = 0; d < kLinesPerCard; ++d) {
        EXPECT_EQ(parsed.config->lineIsInput[d], ((0xABCF >> d) & 1) != 0) << d;
    }
    EXPECT_EQ(parsed.config->inputType, (std::array<int, 8>{4, 0, 0, 6, 0, 0, 0, 0}));
    EXPECT_EQ(parsed.config->rangeText[7], "8");
}

TEST(ConfigFile, RefusesAFileItCannotReadWhole) {
    const std::pair<const char*, const char*> files[] = {
        {"FFFF\r\n0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n", "ends after line 9"},
        {"FFFG\r\n0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n", "Line 1"}};
    for (const auto& [text, mentions] : files) {
        const auto parsed = ParseConfigFile(FieldReader(text));
        EXPECT_FALSE(parsed.config);
        EXPECT_NE(parsed.error.find(mentions), std::string::npos) << parsed.error;
    }
}

// Refused before the save dialog: texts the reader would not give back whole (a
// quote with a comma, or a leading quote). A channel without a type: see the window.
TEST(ConfigFile, ProblemsNameTheFirstChannelThatCannotBeWritten) {
    CardConfiguration config;
    config.rangeText.fill("10");
    EXPECT_FALSE(ConfigFileProblem(config));
    config.rangeText[2] = "1,\"5";
    EXPECT_NE(ConfigFileProblem(config).value_or("").find("input 2"), std::string::npos);
    config.rangeText[1] = " \"5";
    EXPECT_NE(ConfigFileProblem(config).value_or("").find("input 1"), std::string::npos);
}

// Whatever the box shows reads back as the stored number.
TEST(RangeText, ShowsTheRangePlainlyAndReadsBackTheSame) {
    const std::pair<double, const char*> shown[] = {
        {10, "10"}, {2.5, "2.5"}, {-0.0, "0"}, {1e20, "100000000000000000000"}, {1e-6, "0.000001"}};
    for (const auto& [value, text] : shown) {
        EXPECT_EQ(RangeDisplayText(value), text);
        EXPECT_EQ(LeadingNumber(text, number_rules::kInputRange), value);
    }
}

}  // namespace
}  // namespace vantrel
