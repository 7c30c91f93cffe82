// Guards the settings files' field order (a field written in one place and read
// back into another), the ports' print style, and the line and field named when
// reading stops: an off-by-one in the line, the slot or a field's place in a channel
// block would send the user to the wrong line.
#include <gtest/gtest.h>

#include <string>

#include "settings/FieldReader.h"
#include "settings/SettingsFiles.h"

namespace vantrel {
namespace {

// One slot and line of each kind edited, the last ones, so a shifted or short loop
// shows as well as a field read into its neighbour.
TEST(SettingsFiles, WhatIsWrittenReadsBackUnchangedAndAShortFileNamesItsLastLine) {
    AcquisitionState saved;
    saved.ComPort1 = 10;
    saved.ComPort2 = -3;
    saved.DigitalDirection[31] = kLineOutput;
    saved.InputType[15] = 6;
    saved.InputRange[15] = -2.5;
    saved.CalZero10V[15] = -100;
    saved.CalZero200mV[15] = 50;
    saved.CalSpan10V[15] = 31000;
    saved.CalSpan200mV[15] = -32768;
    saved.CalRTD[15] = 12007;
    saved.PlotChannel[15] = true;
    saved.ChannelName[15] = "Oven, zone 15";
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
    const std::string text = ChannelSettingsText(saved);
    FieldReader cut(text.substr(0, text.rfind("#FALSE#")));
    EXPECT_EQ(ReadChannelSettings(cut, loaded), "line 176, the save mark of channel 15");
}

}  // namespace
}  // namespace vantrel
