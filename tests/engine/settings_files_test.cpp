// Guards the settings files' field order (a field written in one place and read
// from another), the ports' print style, and the line and field named when reading
// stops: an off-by-one in the line, the slot or a field's place in a channel block
// would send the user to the wrong line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/FieldReader.h"
#include "engine/SettingsFiles.h"

namespace vantrel {
namespace {

TEST(SettingsFiles, WhatIsWrittenReadsBackUnchanged) {
    AcquisitionState saved;
    saved.ComPort1 = 10;
    saved.ComPort2 = -3;
    for (int line = 0; line < kUsedLines; ++line) {
        saved.DigitalDirection[line] = line % 3 == 0 ? kLineOutput : kLineInput;
    }
    for (int s = 0; s < kUsedChannels; ++s) {
        saved.InputType[s] = static_cast<std::int16_t>(s % 7);
        saved.InputRange[s] = 0.1 * (s + 1) - 3.0;
        saved.CalZero10V[s] = static_cast<std::int16_t>(-100 - s);
        saved.CalZero200mV[s] = static_cast<std::int16_t>(50 + s);
        saved.CalSpan10V[s] = static_cast<std::int16_t>(31000 + s);
        saved.CalSpan200mV[s] = static_cast<std::int16_t>(-32768 + s);
        saved.CalRTD[s] = static_cast<std::int16_t>(12000 + 7 * s);
        saved.PlotChannel[s] = s % 2 == 0;
        saved.SaveChannel[s] = s % 5 == 0;
        saved.ChannelName[s] = "Oven, zone " + std::to_string(s);
    }
    saved.LogFileName = "C:\\data\\run 1.csv";
    saved.LogHeaders = false;
    saved.LogDelimiter = 3;
    saved.LogIntervalUnit = 2;
    saved.LogIntervalChoice = 30;
    saved.LogStampStyle = 4;
    EXPECT_EQ(PortSettingsText(saved), " 10 \r\n-3 \r\n");
    AcquisitionState loaded;
    FieldReader ports(PortSettingsText(saved));
    FieldReader channels(ChannelSettingsText(saved));
    FieldReader log(LogSettingsText(saved));
    ASSERT_EQ(ReadPortSettings(ports, loaded), std::nullopt);
    ASSERT_EQ(ReadChannelSettings(channels, loaded), std::nullopt);
    ASSERT_EQ(ReadLogSettings(log, loaded), std::nullopt);
    EXPECT_TRUE(ports.atEnd() && channels.atEnd() && log.atEnd());
    EXPECT_EQ(loaded.ComPort1, saved.ComPort1);
    EXPECT_EQ(loaded.ComPort2, saved.ComPort2);
    EXPECT_EQ(loaded.DigitalDirection, saved.DigitalDirection);
    EXPECT_EQ(loaded.InputType, saved.InputType);
    EXPECT_EQ(loaded.InputRange, saved.InputRange);
    EXPECT_EQ(loaded.CalZero10V, saved.CalZero10V);
    EXPECT_EQ(loaded.CalZero200mV, saved.CalZero200mV);
    EXPECT_EQ(loaded.CalSpan10V, saved.CalSpan10V);
    EXPECT_EQ(loaded.CalSpan200mV, saved.CalSpan200mV);
    EXPECT_EQ(loaded.CalRTD, saved.CalRTD);
    EXPECT_EQ(loaded.PlotChannel, saved.PlotChannel);
    EXPECT_EQ(loaded.SaveChannel, saved.SaveChannel);
    EXPECT_EQ(loaded.LogFileName, saved.LogFileName);
    EXPECT_EQ(loaded.LogHeaders, saved.LogHeaders);
    EXPECT_EQ(loaded.LogDelimiter, saved.LogDelimiter);
    EXPECT_EQ(loaded.LogIntervalUnit, saved.LogIntervalUnit);
    EXPECT_EQ(loaded.LogIntervalChoice, saved.LogIntervalChoice);
    EXPECT_EQ(loaded.LogStampStyle, saved.LogStampStyle);
    EXPECT_EQ(loaded.ChannelName, saved.ChannelName);
}

std::string ReplaceLine(std::string text, int line, const std::string& with) {
    std::size_t at = 0;
    for (int before = 1; before < line; ++before) {
        at = text.find('\n', at) + 1;
    }
    return text.replace(at, text.find('\r', at) - at, with);
}

TEST(SettingsFiles, ReadingStopsAtTheFirstBadFieldNamingItsLine) {
    using Reader = std::optional<std::string> (*)(FieldReader&, AcquisitionState&);
    struct Case {
        Reader read;
        std::string text;
        std::string stop;
    };
    const AcquisitionState defaults;
    const std::string ports = PortSettingsText(defaults);
    const std::string channels = ChannelSettingsText(defaults);
    const std::string log = LogSettingsText(defaults);
    std::vector<Case> cases = {
        {ReadPortSettings, ReplaceLine(ports, 1, "\"1\""), "line 1, the port of card 1"},
        {ReadPortSettings, ReplaceLine(ports, 2, "x"), "line 2, the port of card 2"},
        {ReadChannelSettings, ReplaceLine(channels, 32, "1"),
         "line 32, the direction of digital line 31"},
        {ReadLogSettings, "", "line 1, the log file name"},
        {ReadLogSettings, ReplaceLine(log, 22, "\"x"), "line 22, the name of channel 15"},
    };
    // The last channel's block follows the 32 lines and 15 blocks of nine before it.
    const char* channelFields[] = {"input type",    "input range", "10 V zero",
                                   "200 mV zero",   "10 V span",   "200 mV span",
                                   "RTD reference", "plot mark",   "save mark"};
    for (int f = 0; f < 9; ++f) {
        cases.push_back(
            {ReadChannelSettings, ReplaceLine(channels, 168 + f, "x"),
             "line " + std::to_string(168 + f) + ", the " + channelFields[f] + " of channel 15"});
    }
    const char* logFields[] = {"header choice", "delimiter", "interval unit", "interval",
                               "time stamp style"};
    for (int f = 0; f < 5; ++f) {
        cases.push_back({ReadLogSettings, ReplaceLine(log, 2 + f, "x"),
                         "line " + std::to_string(2 + f) + ", the log " + logFields[f]});
    }
    for (const Case& c : cases) {
        AcquisitionState loaded;
        FieldReader reader(c.text);
        EXPECT_EQ(c.read(reader, loaded), c.stop);
    }
}

}  // namespace
}  // namespace vantrel
