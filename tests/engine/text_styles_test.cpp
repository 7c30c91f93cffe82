#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <limits>

#include "engine/FieldReader.h"
#include "engine/TextStyles.h"

namespace vantrel {
namespace {

TEST(PrintStyle, NumbersCarryASignPlaceAndATrailingBlank) {
    EXPECT_EQ(PrintStyleNumber(std::int64_t{1}), " 1 ");
    EXPECT_EQ(PrintStyleNumber(std::int64_t{0}), " 0 ");
    EXPECT_EQ(PrintStyleNumber(std::int64_t{-1}), "-1 ");
    EXPECT_EQ(PrintStyleNumber(std::int64_t{32000}), " 32000 ");
    EXPECT_EQ(PrintStyleNumber(2.5), " 2.5 ");
    EXPECT_EQ(PrintStyleNumber(-0.25), "-0.25 ");
    EXPECT_EQ(PrintStyleNumber(10.0), " 10 ");
}

TEST(WriteStyle, TextsAreQuotedWithoutEscaping) {
    EXPECT_EQ(WriteStyleString("Channel 0"), "\"Channel 0\"");
    EXPECT_EQ(WriteStyleString("a\"b"), "\"a\"b\"");
    EXPECT_EQ(WriteStyleString(""), "\"\"");
}

TEST(WriteStyle, BooleansAndIntegers) {
    EXPECT_EQ(WriteStyleBoolean(true), "#TRUE#");
    EXPECT_EQ(WriteStyleBoolean(false), "#FALSE#");
    EXPECT_EQ(WriteStyleInteger(-1), "-1");
    EXPECT_EQ(WriteStyleInteger(32000), "32000");
}

TEST(WriteStyle, DoublesAreTheShortestTextThatReadsBack) {
    EXPECT_EQ(WriteStyleDouble(10.0), "10");
    EXPECT_EQ(WriteStyleDouble(0.1), "0.1");
    EXPECT_EQ(WriteStyleDouble(-2.75), "-2.75");
    EXPECT_EQ(WriteStyleDouble(0.0), "0");
}

TEST(WriteStyle, DoublesReadBackExactly) {
    const double values[] = {0.1 + 0.2,
                             1.0 / 3.0,
                             -123456.789e-7,
                             1e300,
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::max(),
                             -std::numeric_limits<double>::min()};
    for (const double value : values) {
        FieldReader reader(WriteStyleDouble(value) + std::string(kLineEnd));
        EXPECT_EQ(reader.readDouble(), value) << WriteStyleDouble(value);
    }
}

TEST(WriteStyle, DoublesIgnoreTheRegionalDecimalComma) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr &&
            std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
            switched = true;
            break;
        }
    }
    const std::string written = WriteStyleDouble(2.5);
    FieldReader reader("2.5\r\n");
    const auto read = reader.readDouble();
    std::setlocale(LC_ALL, saved.c_str());
    if (!switched) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    EXPECT_EQ(written, "2.5");
    EXPECT_EQ(read, 2.5);
}

TEST(TextFileBuilder, EndsEveryLineWithCarriageReturnLineFeed) {
    TextFileBuilder builder;
    builder.line(" 1 ").line("").line("x");
    EXPECT_EQ(builder.contents(), " 1 \r\n\r\nx\r\n");
}

}  // namespace
}  // namespace vantrel
