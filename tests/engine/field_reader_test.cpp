#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/FieldReader.h"
#include "tests/engine/TempFolder.h"

namespace vantrel {
namespace {

TEST(FieldReader, ReadsPrintStyleNumbersOnePerLine) {
    FieldReader reader(" 3 \r\n-12 \r\n");
    EXPECT_EQ(reader.readInteger(), 3);
    EXPECT_EQ(reader.readInteger(), -12);
    EXPECT_FALSE(reader.readInteger().has_value());
    EXPECT_TRUE(reader.atEnd());
}

TEST(FieldReader, ReadsWriteStyleFieldsOfEveryType) {
    FieldReader reader("\"C:\\logs\\run.csv\"\r\n#TRUE#\r\n#FALSE#\r\n2.5\r\n-7\r\n100000\r\n");
    EXPECT_EQ(reader.readString(), "C:\\logs\\run.csv");
    EXPECT_EQ(reader.readBoolean(), true);
    EXPECT_EQ(reader.readBoolean(), false);
    EXPECT_EQ(reader.readDouble(), 2.5);
    EXPECT_EQ(reader.readInteger(), -7);
    EXPECT_EQ(reader.readLong(), 100000);
    EXPECT_TRUE(reader.atEnd());
}

TEST(FieldReader, CommasSeparateFieldsOnOneLine) {
    FieldReader reader("1.5, 2,\"a b\" ,#TRUE#\n");
    EXPECT_EQ(reader.readDouble(), 1.5);
    EXPECT_EQ(reader.readDouble(), 2.0);
    EXPECT_EQ(reader.readString(), "a b");
    EXPECT_EQ(reader.readBoolean(), true);
    EXPECT_TRUE(reader.atEnd());
}

TEST(FieldReader, ANumericFieldEndsAtABlank) {
    FieldReader reader("1 2\r\n");
    EXPECT_EQ(reader.readInteger(), 1);
    EXPECT_EQ(reader.readInteger(), 2);
}

TEST(FieldReader, QuotedTextKeepsCommasAndEndsAtTheNextQuote) {
    // A quote inside a name cannot be written back intact: the rest of the line is lost.
    FieldReader reader("\"a, b\"\r\n\"say \"hi\"\"\r\nnext\r\n");
    EXPECT_EQ(reader.readString(), "a, b");
    EXPECT_EQ(reader.readString(), "say ");
    EXPECT_EQ(reader.readString(), "next");
}

TEST(FieldReader, UnquotedTextRunsToTheCommaWithoutSurroundingBlanks) {
    FieldReader reader("  Channel 0  ,x\r\n");
    EXPECT_EQ(reader.readString(), "Channel 0");
    EXPECT_EQ(reader.readString(), "x");
}

TEST(FieldReader, EmptyQuotedTextIsAField) {
    FieldReader reader("\"\"\r\n\"b\"\r\n");
    EXPECT_EQ(reader.readString(), "");
    EXPECT_EQ(reader.readString(), "b");
}

TEST(FieldReader, AcceptsBareLineFeedsAndCarriageReturns) {
    FieldReader reader("1\n2\r3");
    EXPECT_EQ(reader.readInteger(), 1);
    EXPECT_EQ(reader.readInteger(), 2);
    EXPECT_EQ(reader.readInteger(), 3);
    EXPECT_EQ(reader.line(), 3);
}

// A text kept as an empty line (an empty input range in a configuration file) must
// not shift every later field, nor the line numbers reported.
TEST(FieldReader, AnEmptyLineIsAnEmptyFieldAndLinesAreCounted) {
    FieldReader reader("1\r\n\r\n\"two\r\nlines\"\r\n  \r\n5\r\n");
    EXPECT_EQ(reader.readInteger(), 1);
    EXPECT_EQ(reader.line(), 1);
    EXPECT_EQ(reader.readString(), "");
    EXPECT_EQ(reader.line(), 2);
    EXPECT_EQ(reader.readString(), "two\r\nlines");
    EXPECT_EQ(reader.line(), 3);
    EXPECT_EQ(reader.readInteger(), 0);
    EXPECT_EQ(reader.line(), 5);
    EXPECT_EQ(reader.readInteger(), 5);
    EXPECT_EQ(reader.line(), 6);
}

struct NumberCase {
    const char* text;
    bool valid;
    double value;
};

class FieldReaderNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(FieldReaderNumbers, ReadsOnlyWholeDecimalNumbers) {
    const NumberCase& c = GetParam();
    FieldReader reader(std::string(c.text) + "\r\n");
    const auto value = reader.readDouble();
    ASSERT_EQ(value.has_value(), c.valid) << c.text;
    if (c.valid) {
        EXPECT_EQ(*value, c.value) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FieldReaderNumbers,
    ::testing::Values(NumberCase{"10", true, 10.0}, NumberCase{"+4.5", true, 4.5},
                      NumberCase{"-0.125", true, -0.125}, NumberCase{"1e3", true, 1000.0},
                      NumberCase{"1E-2", true, 0.01}, NumberCase{"0.1", true, 0.1},
                      NumberCase{"12abc", false, 0}, NumberCase{"abc", false, 0},
                      NumberCase{"1,5", true, 1.0}, NumberCase{"#TRUE#", false, 0},
                      NumberCase{"\"5\"", false, 0}, NumberCase{"+-5", false, 0},
                      NumberCase{"inf", false, 0}, NumberCase{"nan", false, 0},
                      NumberCase{"1e999", false, 0}, NumberCase{",", true, 0},
                      NumberCase{"", true, 0}));

TEST(FieldReader, IntegersRoundHalfToEvenAndRefuseOutOfRange) {
    FieldReader reader("2.5\r\n3.5\r\n-0.5\r\n32767\r\n-32768\r\n32768\r\n-32769\r\n");
    EXPECT_EQ(reader.readInteger(), 2);
    EXPECT_EQ(reader.readInteger(), 4);
    EXPECT_EQ(reader.readInteger(), 0);
    EXPECT_EQ(reader.readInteger(), 32767);
    EXPECT_EQ(reader.readInteger(), -32768);
    EXPECT_FALSE(reader.readInteger().has_value());
    EXPECT_FALSE(reader.readInteger().has_value());
}

TEST(FieldReader, LongsRefuseValuesBeyondThirtyTwoBits) {
    FieldReader reader("2147483647\r\n2147483648\r\n");
    EXPECT_EQ(reader.readLong(), 2147483647);
    EXPECT_FALSE(reader.readLong().has_value());
}

TEST(FieldReader, BooleansAreOnlyTheTwoMarkers) {
    for (const char* text : {"TRUE", "#true#", "-1", "#TRUE", "\"#TRUE#\""}) {
        FieldReader reader(text);
        EXPECT_FALSE(reader.readBoolean().has_value()) << text;
    }
}

TEST(FieldReader, AnUnclosedQuoteIsAMissingField) {
    FieldReader reader("\"never closed\r\n1\r\n");
    EXPECT_FALSE(reader.readString().has_value());
    EXPECT_TRUE(reader.atEnd());
}

TEST(FieldReader, GarbageAndNulBytesGiveNothingRatherThanValues) {
    const std::string garbage("\x00\x01\xff\x80zz\x00", 7);
    FieldReader reader(garbage);
    EXPECT_FALSE(reader.readInteger().has_value());
    EXPECT_FALSE(reader.readBoolean().has_value());
}

TEST(FieldReaderFile, ReadsAFileFromDisk) {
    testing::TempFolder folder;
    folder.write("a.con", " 4 \r\n 7 \r\n");
    std::string error;
    auto reader =
        FieldReader::fromFile(folder.file("a.con"), FieldReader::kDefaultMaxBytes, &error);
    ASSERT_TRUE(reader.has_value()) << error;
    EXPECT_EQ(reader->readInteger(), 4);
    EXPECT_EQ(reader->readInteger(), 7);
}

TEST(FieldReaderFile, AMissingFileIsReportedByName) {
    testing::TempFolder folder;
    std::string error;
    EXPECT_FALSE(FieldReader::fromFile(folder.file("none.con"), 100, &error).has_value());
    EXPECT_NE(error.find("none.con"), std::string::npos);
}

TEST(FieldReaderFile, AFileOverTheLimitIsRefused) {
    testing::TempFolder folder;
    folder.write("big.con", std::string(101, '1'));
    folder.write("fits.con", std::string(100, '1'));
    std::string error;
    EXPECT_FALSE(FieldReader::fromFile(folder.file("big.con"), 100, &error).has_value());
    EXPECT_NE(error.find("big.con"), std::string::npos);
    EXPECT_TRUE(FieldReader::fromFile(folder.file("fits.con"), 100).has_value());
}

TEST(FieldReaderFile, AFolderIsNotAReadableFile) {
    testing::TempFolder folder;
    EXPECT_FALSE(FieldReader::fromFile(folder.path().string()).has_value());
}

}  // namespace
}  // namespace vantrel
