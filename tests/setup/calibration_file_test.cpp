// Guards the calibration file against a swapped or shifted value line, a wrong
// header accepted, a half-read file, and a calibration that would divide by zero.
#include "setup/CalibrationFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantrel {
namespace {

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

const std::string kQuotedHeader = "\"Vantrel 16CH ver.1.0 Calib File\"";

// The header and the first `count` values of a default calibration.
std::vector<std::string> DefaultLines(int count) {
    std::vector<std::string> lines = {kQuotedHeader};
    const std::vector<std::string> channel = {"0", "0", "32000", "32000", "13000"};
    for (int i = 0; i < count; ++i) {
        lines.push_back(channel[i % 5]);
    }
    return lines;
}

CalibrationTable Sample() {
    CalibrationTable table;
    for (int g = 0; g < kChannelsPerCard; ++g) {
        table[g] = ChannelCalibration{
            static_cast<std::int16_t>(-15 + g), static_cast<std::int16_t>(g * 3),
            static_cast<std::int16_t>(32767 - g), static_cast<std::int16_t>(-32768 + g),
            static_cast<std::int16_t>(13000 + g * 7)};
    }
    return table;
}

TEST(CalibrationFile, DefaultsGiveHeaderAndFortyValues) {
    AcquisitionState state;
    EXPECT_EQ(FormatCalibrationFile(CalibrationOfFirstCard(state)), Lines(DefaultLines(40)));
}

TEST(CalibrationFile, ValuesRoundTripInFileOrder) {
    const CalibrationTable table = Sample();
    const std::string contents = FormatCalibrationFile(table);
    // Channel 0's five lines: zero 10V, zero 200mV, span 10V, span 200mV, RTD.
    const std::string firstChannel = Lines({kQuotedHeader, "-15", "0", "32767", "-32768", "13000"});
    EXPECT_EQ(contents.substr(0, firstChannel.size()), firstChannel);

    const auto parsed = ParseCalibrationFile(FieldReader(contents));
    ASSERT_EQ(parsed.outcome, CalibrationFileParse::Outcome::Read) << parsed.error;
    EXPECT_EQ(parsed.table, table);
}

TEST(CalibrationFile, UnquotedHeaderIsAccepted) {
    std::vector<std::string> lines = DefaultLines(40);
    lines[0] = "Vantrel 16CH ver.1.0 Calib File";
    EXPECT_EQ(ParseCalibrationFile(FieldReader(Lines(lines))).outcome,
              CalibrationFileParse::Outcome::Read);
}

class WrongHeader : public ::testing::TestWithParam<std::string> {};

TEST_P(WrongHeader, IsIncompatible) {
    std::vector<std::string> lines = DefaultLines(40);
    lines[0] = GetParam();
    EXPECT_EQ(ParseCalibrationFile(FieldReader(Lines(lines))).outcome,
              CalibrationFileParse::Outcome::WrongHeader);
}

INSTANTIATE_TEST_SUITE_P(Headers, WrongHeader,
                         ::testing::Values("\"vantrel 16ch ver.1.0 calib file\"",
                                           "\"Vantrel 16CH ver.1.0 Calib File \"",
                                           "\"Vantrel 16CH ver.1.1 Calib File\"", "\"\"", "0"));

TEST(CalibrationFile, EmptyFileIsIncompatible) {
    EXPECT_EQ(ParseCalibrationFile(FieldReader("")).outcome,
              CalibrationFileParse::Outcome::WrongHeader);
}

struct BadValues {
    const char* name;
    int line;  // 1-based line replaced, or 0 to cut the file there
    const char* replacement;
    const char* mentions;
};

class BadCalibrationValues : public ::testing::TestWithParam<BadValues> {};

TEST_P(BadCalibrationValues, AreRefusedWithTheLineNamed) {
    std::vector<std::string> lines = DefaultLines(40);
    if (GetParam().line == 0) {
        lines.resize(40);  // header and 39 values
    } else {
        lines[GetParam().line - 1] = GetParam().replacement;
    }
    const auto parsed = ParseCalibrationFile(FieldReader(Lines(lines)));
    EXPECT_EQ(parsed.outcome, CalibrationFileParse::Outcome::BadValues);
    EXPECT_NE(parsed.error.find(GetParam().mentions), std::string::npos) << parsed.error;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadCalibrationValues,
    ::testing::Values(BadValues{"ShortFile", 0, "", "ends after line 40, with 39 of its 40"},
                      BadValues{"NotANumber", 8, "abc", "Line 8 "},
                      BadValues{"TooLarge", 2, "32768", "Line 2 "},
                      BadValues{"TooSmall", 41, "-32769", "Line 41 "},
                      BadValues{"Quoted", 20, "\"5\"", "Line 20 "},
                      BadValues{"ZeroEqualsSpan10V", 19, "0", "Channel 3 of the calibration file"},
                      BadValues{"ZeroEqualsSpan200mV", 40, "0",
                                "Channel 7 of the calibration file"},
                      BadValues{"ZeroRtdReference", 6, "0", "Channel 0 of the calibration file"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CalibrationFile, StoringTouchesOnlyCardOne) {
    AcquisitionState state;
    state.CalZero10V[8] = 77;
    state.CalRTD[15] = 99;
    StoreCalibrationOfFirstCard(state, Sample());
    EXPECT_EQ(CalibrationOfFirstCard(state), Sample());
    EXPECT_EQ(state.CalZero10V[8], 77);
    EXPECT_EQ(state.CalRTD[15], 99);
    EXPECT_EQ(state.CalSpan10V[8], 32000);
}

}  // namespace
}  // namespace vantrel
