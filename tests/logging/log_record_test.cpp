// Header and record lines: stamp fields always end in a comma, channel columns are
// joined by the chosen separator with nothing after the last one, and a name that
// would split into two columns is quoted.
#include <gtest/gtest.h>

#include "logging/LogRecord.h"

namespace vantrel {
namespace {

AcquisitionState ChannelsZeroAndThree() {
    AcquisitionState state;
    state.SaveChannel[0] = true;
    state.SaveChannel[3] = true;
    state.ChannelName[3] = "Fan";
    state.ChannelValue[0] = 1.25f;
    state.ChannelValue[3] = -0.5f;
    return state;
}

struct HeaderCase {
    std::int16_t delimiter;
    std::int16_t stampStyle;
    const char* header;
    const char* values;
};

class LineLayoutTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(LineLayoutTest, HeaderAndValuesUseTheSameSeparators) {
    AcquisitionState state = ChannelsZeroAndThree();
    state.LogDelimiter = GetParam().delimiter;
    state.LogStampStyle = GetParam().stampStyle;
    EXPECT_EQ(HeaderLine(state), GetParam().header);
    EXPECT_EQ(RecordValues(state), GetParam().values);
}

INSTANTIATE_TEST_SUITE_P(SeparatorsAndStamps, LineLayoutTest,
                         ::testing::Values(HeaderCase{1, 3, "TIME,Channel 0,Fan", "1.25,-0.5"},
                                           HeaderCase{2, 2, "DATE,TIME,Channel 0    Fan",
                                                      "1.25    -0.5"},
                                           HeaderCase{3, 1, "SN,\"Channel 0\" Fan", "1.25 -0.5"},
                                           HeaderCase{1, 4, "Channel 0,Fan", "1.25,-0.5"},
                                           // Codes from a damaged settings file fall back to a
                                           // blank separator and no stamp.
                                           HeaderCase{9, 0, "\"Channel 0\" Fan", "1.25 -0.5"}));

TEST(HeaderLine, EmptyNameKeepsItsSeparators) {
    AcquisitionState state = ChannelsZeroAndThree();
    state.ChannelName[0] = "";
    state.SaveChannel[7] = true;
    state.ChannelName[7] = "";
    EXPECT_EQ(HeaderLine(state), "TIME,,Fan,");
}

// A name holding the separator or a comma would add a column in a spreadsheet, so
// it is quoted; every other name is written as it is, blanks included.
struct NameCase {
    std::int16_t delimiter;
    const char* name;
    const char* header;
};

class HeaderNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(HeaderNameTest, LinesUpWithTheRecords) {
    AcquisitionState state = ChannelsZeroAndThree();
    state.LogDelimiter = GetParam().delimiter;
    state.ChannelName[0] = GetParam().name;
    EXPECT_EQ(HeaderLine(state), GetParam().header);
}

INSTANTIATE_TEST_SUITE_P(Separators, HeaderNameTest,
                         ::testing::Values(NameCase{1, "Temp, inner zone",
                                                    "TIME,\"Temp, inner zone\",Fan"},
                                           NameCase{2, "Temp,inner", "TIME,\"Temp,inner\"    Fan"},
                                           NameCase{2, "A    B", "TIME,\"A    B\"    Fan"},
                                           NameCase{2, "A   B  ", "TIME,A   B      Fan"},
                                           NameCase{3, "A;B", "TIME,A;B Fan"},
                                           NameCase{1, "Inlet A", "TIME,Inlet A,Fan"}));

TEST(HeaderLine, CardTwoChannelsFollowCardOneInSlotOrder) {
    AcquisitionState state;
    state.SaveChannel[15] = true;
    state.SaveChannel[8] = true;
    state.SaveChannel[2] = true;
    EXPECT_EQ(HeaderLine(state), "TIME,Channel 2,Channel 8,Channel 15");
}

TEST(RecordValues, UnusedSlotsBeyondFifteenAreNeverLogged) {
    AcquisitionState state;
    state.SaveChannel[16] = true;
    state.SaveChannel[1] = true;
    state.ChannelValue[1] = 2.0f;
    EXPECT_EQ(RecordValues(state), "2");
    EXPECT_TRUE(AnyChannelMarked(state));
    state.SaveChannel[1] = false;
    EXPECT_FALSE(AnyChannelMarked(state));
}

struct StampCase {
    platform::DateTime when;
    const char* date;
    const char* time;
};

class ClockTextTest : public ::testing::TestWithParam<StampCase> {};

TEST_P(ClockTextTest, TwoDigitsForEveryPart) {
    EXPECT_EQ(DateText(GetParam().when), GetParam().date);
    EXPECT_EQ(TimeText(GetParam().when), GetParam().time);
}

INSTANTIATE_TEST_SUITE_P(
    Dates, ClockTextTest,
    ::testing::Values(StampCase{{2009, 3, 5, 7, 4, 9}, "05/03/09", "07:04:09"},
                      StampCase{{2000, 1, 1, 0, 0, 0}, "01/01/00", "00:00:00"},
                      StampCase{{1999, 12, 31, 23, 59, 59}, "31/12/99", "23:59:59"},
                      StampCase{{2026, 11, 20, 14, 5, 9}, "20/11/26", "14:05:09"}));

TEST(RecordStamp, EachStyleEndsInAComma) {
    const platform::DateTime when{2026, 12, 6, 14, 5, 9};
    EXPECT_EQ(RecordStamp(1, when, 42), "42,");
    EXPECT_EQ(RecordStamp(2, when, 42), "06/12/26,14:05:09,");
    EXPECT_EQ(RecordStamp(3, when, 42), "14:05:09,");
    EXPECT_EQ(RecordStamp(4, when, 42), "");
    EXPECT_EQ(RecordStamp(7, when, 42), "");
}

}  // namespace
}  // namespace vantrel
