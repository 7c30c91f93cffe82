// Guards the settings files' field order (a field written in one place and read
// back into another), the ports' print style, and the line and field named when
// reading stops: an off-by-one in the line, the slot or a field's place in a channel
// block would send the user to the wrong line.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/FieldReader.h"
#include "engine/SettingsFiles.h"

namespace vantrel {
namespace {

TEST(SettingsFiles, WhatIsWrittenReadsBackUnchanged) {
    AcquisitionState saved;
    saved.ComPort1 = 10;
    saved.ComPort2 = -3;
    for (int s = 0; s < kUsedLines; ++s) {
        saved.DigitalDirection[s] = s % 3 == 0 ? kLineOutput : kLineInput;
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
    EXPECT_EQ(PortSettingsText(loaded), PortSettingsText(saved));
    EXPECT_EQ(ChannelSettingsText(loaded), ChannelSettingsText(saved));
    EXPECT_EQ(LogSettingsText(loaded), LogSettingsText(saved));
}

TEST(SettingsFiles, ReadingStopsAtTheFirstBadFieldNamingItsLine) {
    using Reader = std::optional<std::string> (*)(FieldReader&, AcquisitionState&);
    const std::string ports = PortSettingsText(AcquisitionState());
    const std::string channels = ChannelSettingsText(AcquisitionState());
    std::vector<std::tuple<Reader, std::string, std::string>> cases = {
        {ReadPortSettings, "\"1\"" + ports.substr(3), "line 1, the port of card 1"},
        {ReadPortSettings, ports.substr(0, 5), "line 2, the port of card 2"},
        {ReadChannelSettings, channels.substr(0, 31 * 9),
         "line 32, the direction of digital line 31"},
        {ReadLogSettings, "\"log.csv\"\r\n#TRUE#\r\n", "line 3, the log delimiter"},
    };
    // The last channel's nine fields follow the 32 lines and the 15 blocks before it.
    const char* fields[] = {"input type",  "input range",   "10 V zero", "200 mV zero", "10 V span",
                            "200 mV span", "RTD reference", "plot mark", "save mark"};
    std::size_t line = channels.rfind("\r\n0\r\n10\r\n") + 2;
    for (int f = 0; f < 9; ++f, line = channels.find('\n', line) + 1) {
        cases.emplace_back(
            ReadChannelSettings, channels.substr(0, line) + "x\r\n",
            "line " + std::to_string(168 + f) + ", the " + fields[f] + " of channel 15");
    }
    for (const auto& [read, text, stop] : cases) {
        AcquisitionState loaded;
        FieldReader reader(text);
        EXPECT_EQ(read(reader, loaded), stop);
    }
}

}  // namespace
}  // namespace vantrel
