// The texts of the log file: a value with a digit too many or too few, a lower-case
// "e" or a wrong switch to exponent form, a wrong separator, a stamp field without
// its comma, day and month swapped or a four-digit year, a trailing separator, a
// channel slot missed or one past the sixteen, a name that would split into two
// columns left unquoted, or one quoted or trimmed that need not be; the separator
// of vantrel.ini not taking the place of File > Save's, a decimal point left
// beside a comma, a column suffix changed or a channel without a figure not empty;
// a unit in the header by default, one missing or bracketed when empty, the input
// type's unit over a user scale's empty one, a derived column out of its
// settings' order or one not marked for saving.
#include <gtest/gtest.h>

#include "engine/InputTypes.h"
#include "logging/LogRecord.h"
#include "logging/ValueText.h"

namespace vantrel {
namespace {

TEST(ValueText, SevenSignificantDigitsPlainFromAnExponentOfMinusFourToSix) {
    const float values[] = {0.5f,       -2.0f,       -0.0f,   1.2345678f,
                            9999999.0f, 12345678.0f, 0.0001f, 1e-5f};
    const char* texts[] = {"0.5",     "-2",           "0",      "1.234568",
                           "9999999", "1.234568E+07", "0.0001", "1E-05"};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(ValueText(values[i]), texts[i]);
    }
}

TEST(LogRecord, HeaderAndRecordShareTheSeparatorAndEveryStampFieldEndsInAComma) {
    AcquisitionState state;
    state.SaveChannel[0] = state.SaveChannel[15] = state.SaveChannel[16] = true;
    state.ChannelName[15] = "Fan";
    LatestValues values{};
    values[0] = 1.25f;
    values[15] = -0.5f;
    // Separator and stamp codes (the last from a damaged settings file), the name of
    // channel 0, the header, and the record of sample 42 at 07:04:09 on 5 March 2009.
    // Slot 16 lies past the sixteen channels.
    const std::tuple<int, int, const char*, const char*, const char*> cases[] = {
        {1, 3, "Temp, in", "TIME,\"Temp, in\",Fan", "07:04:09,1.25,-0.5"},
        {2, 2, "A   B  ", "DATE,TIME,A   B      Fan", "05/03/09,07:04:09,1.25    -0.5"},
        {3, 1, "Channel 0", "SN,\"Channel 0\" Fan", "42,1.25 -0.5"},
        {1, 5, "Channel 0", "TIMESTAMP,Channel 0,Fan", "2009-03-05T07:04:09.025-04:30,1.25,-0.5"},
        {9, 0, "a,b", "\"a,b\" Fan", "1.25 -0.5"}};
    for (const auto& [delimiter, stampStyle, name, header, record] : cases) {
        state.LogDelimiter = static_cast<std::int16_t>(delimiter);
        state.LogStampStyle = static_cast<std::int16_t>(stampStyle);
        state.ChannelName[0] = name;
        EXPECT_EQ(HeaderLine(state), header);
        EXPECT_EQ(StampFields(StampStyleOf(stampStyle), {2009, 3, 5, 7, 4, 9, 25, -270}, 42) +
                      RecordValues(state, values),
                  record);
    }
}

TEST(LogRecord, TheIniLayoutChoosesTheSeparatorDecimalMarkAndFiguresOfEachChannel) {
    AcquisitionState state;
    state.SaveChannel[0] = state.SaveChannel[1] = true;
    state.ChannelName[0] = "a;b";
    state.ChannelName[1] = "Fan";
    state.LogDelimiter = CodeOf(Delimiter::Comma);
    LatestValues values{};
    values[0] = 1.25f;
    values[1] = -0.5f;
    IntervalFigures figures{};
    figures[0].take(1.25f);
    figures[0].take(-0.5f);
    const std::tuple<LoggingPreferences, const char*, const char*> cases[] = {
        {{}, "TIME,a;b,Fan", "1.25,-0.5"},
        {{.decimal = LogDecimal::Comma, .separator = LogSeparator::Tab},
         "TIME,a;b\tFan",
         "1,25\t-0,5"},
        {{.statistics = LogStatistics::Mean, .separator = LogSeparator::FourSpaces},
         "TIME,a;b    Fan",
         "0.375    "},
        {{.statistics = LogStatistics::MinMaxMean,
          .decimal = LogDecimal::Comma,
          .separator = LogSeparator::Semicolon},
         "TIME,\"a;b (min)\";\"a;b (max)\";\"a;b (mean)\";Fan (min);Fan (max);Fan (mean)",
         "-0,5;1,25;0,375;;;"},
    };
    for (const auto& [preferences, header, record] : cases) {
        SetRecordLayout(state, preferences);
        EXPECT_EQ(HeaderLine(state), header);
        EXPECT_EQ(RecordValues(state, values, figures), record);
    }
}

TEST(LogRecord, HeaderUnitsFollowEachColumnWithAUnitAndDerivedColumnsComeAfterTheChannels) {
    AcquisitionState state;
    state.SaveChannel[0] = state.SaveChannel[4] = state.SaveChannel[9] = true;
    state.ChannelName[0] = "Pump";
    state.ChannelName[4] = "Oven";
    state.ChannelName[9] = "Valve";
    state.InputType[0] = state.InputType[9] = input_type::kCurrent4To20mA;
    state.InputType[4] = input_type::kRtd;
    ChannelScales scales{};
    scales[0] = ChannelScale{.unit = "bar"};
    // A scale without a unit: the channel has none, not its input type's milliamps.
    scales[9] = ChannelScale{};
    SetLogScaleUnits(state, scales);
    derived::DerivedSettings derived;
    derived.channels = {{.name = "ratio", .unit = "", .expression = "ch0 / ch4", .saved = true},
                        {.name = "hidden", .unit = "V", .expression = "ch9"},
                        {.name = "dT", .unit = "K", .expression = "ch4 - ch0", .saved = true}};
    SetLoggedDerived(state, derived);
    const struct {
        LoggingPreferences preferences;
        const char* header;
    } cases[] = {
        {{}, "TIME,Pump,Oven,Valve,ratio,dT"},
        {{.headerUnits = true}, "TIME,Pump [bar],Oven [deg.C],Valve,ratio,dT [K]"},
        {{.statistics = LogStatistics::MinMaxMean, .headerUnits = true},
         "TIME,Pump (min) [bar],Pump (max) [bar],Pump (mean) [bar],Oven (min) [deg.C],Oven "
         "(max) [deg.C],Oven (mean) [deg.C],Valve (min),Valve (max),Valve (mean),ratio "
         "(min),ratio (max),ratio (mean),dT (min) [K],dT (max) [K],dT (mean) [K]"},
    };
    for (const auto& c : cases) {
        SetRecordLayout(state, c.preferences);
        EXPECT_EQ(HeaderLine(state), c.header);
    }
    // Without its scale the channel is read in its input type's unit again.
    SetLogScaleUnits(state, {});
    SetRecordLayout(state, {.headerUnits = true});
    EXPECT_EQ(HeaderLine(state), "TIME,Pump [mA],Oven [deg.C],Valve [mA],ratio,dT [K]");
}

}  // namespace
}  // namespace vantrel
