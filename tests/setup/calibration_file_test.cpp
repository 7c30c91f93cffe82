// Guards the calibration file against a swapped or shifted value line, a wrong
// header accepted, a half-read file, and a calibration that would divide by zero.
#include "setup/CalibrationFile.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace vantrel {
namespace {

// The header line and the forty values of the default calibration.
std::vector<std::string> DefaultLines() {
    std::vector<std::string> lines = {"\"Vantrel 16CH ver.1.0 Calib File\""};
    for (int i = 0; i < 40; ++i) {
        lines.push_back(std::vector<std::string>{"0", "0", "32000", "32000", "13000"}[i % 5]);
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    return std::accumulate(
        lines.begin(), lines.end(), std::string(),
        [](const std::string& text, const std::string& line) { return text + line + "\r\n"; });
}

TEST(CalibrationFile, ValuesAreReadAndWrittenInFileOrderForCardOneOnly) {
    AcquisitionState state;
    EXPECT_EQ(FormatCalibrationFile(CalibrationOfFirstCard(state)), Joined(DefaultLines()));
    const std::vector<std::string> defaults = DefaultLines();
    std::vector<std::string> lines = {defaults[0], "-15", "1", "32767", "-32768", "12007"};
    lines.insert(lines.end(), defaults.begin() + 6, defaults.end() - 1);
    lines.push_back("12999");
    const auto parsed = ParseCalibrationFile(FieldReader(Joined(lines)));
    ASSERT_EQ(parsed.outcome, CalibrationFileParse::Outcome::Read) << parsed.error;
    EXPECT_EQ(parsed.table[0], (ChannelCalibration{-15, 1, 32767, -32768, 12007}));
    EXPECT_EQ(parsed.table[7].rtd, 12999);
    EXPECT_EQ(FormatCalibrationFile(parsed.table), Joined(lines));
    state.CalRTD[8] = 99;
    StoreCalibrationOfFirstCard(state, parsed.table);
    EXPECT_EQ(CalibrationOfFirstCard(state), parsed.table);
    EXPECT_EQ(state.CalRTD[8], 99);
}

TEST(CalibrationFile, ReadsOnlyAWholeUsableFileUnderItsHeader) {
    using Outcome = CalibrationFileParse::Outcome;
    struct Case {
        int line;  // 1-based line replaced; 0 or less: only the first -line lines are kept
        const char* replacement;
        Outcome outcome;
        const char* error;
    };
    const Case cases[] = {
        {1, "Vantrel 16CH ver.1.0 Calib File", Outcome::Read, ""},
        {1, "\"vantrel 16ch ver.1.0 calib file\"", Outcome::WrongHeader, ""},
        {1, "\"Vantrel 16CH ver.1.1 Calib File\"", Outcome::WrongHeader, ""},
        {1, "\"Vantrel 16CH ver.1.0 Calib File \"", Outcome::WrongHeader, ""},
        {0, "", Outcome::WrongHeader, ""},
        {-40, "", Outcome::BadValues,
         "The calibration file ends after line 40, with 39 of its 40 values."},
        {8, "abc", Outcome::BadValues,
         "Line 8 of the calibration file does not hold a whole number from -32768 to 32767."},
        {2, "32768", Outcome::BadValues, "Line 2 "},  // one past each end of 16 bits
        {41, "-32769", Outcome::BadValues, "Line 41 "},
        {19, "0", Outcome::BadValues,
         "Channel 3 of the calibration file cannot be used: its 10 V zero equals its 10 V span."},
        {40, "0", Outcome::BadValues,
         "Channel 7 of the calibration file cannot be used: its 200 mV"},
        {6, "0", Outcome::BadValues,
         "Channel 0 of the calibration file cannot be used: its RTD reference is 0."},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = DefaultLines();
        lines.resize(static_cast<std::size_t>(c.line > 0 ? 41 : -c.line));
        if (c.line > 0) {
            lines[c.line - 1] = c.replacement;
        }
        const auto parsed = ParseCalibrationFile(FieldReader(Joined(lines)));
        EXPECT_EQ(parsed.outcome, c.outcome) << c.line << c.replacement;
        EXPECT_EQ(parsed.error.substr(0, std::string(c.error).size()), c.error) << parsed.error;
    }
}

}  // namespace
}  // namespace vantrel
