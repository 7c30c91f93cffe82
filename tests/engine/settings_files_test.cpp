#include <gtest/gtest.h>

#include <string>

#include "engine/FieldReader.h"
#include "engine/ModMain.h"
#include "engine/SettingsFiles.h"
#include "tests/engine/TempFolder.h"

namespace vantrel {
namespace {

std::string Repeat(const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) {
        all += text;
    }
    return all;
}

const std::string kDefaultChannelBlock =
    "0\r\n10\r\n0\r\n0\r\n32000\r\n32000\r\n13000\r\n#FALSE#\r\n#FALSE#\r\n";

std::string DefaultChannelSettings() {
    return Repeat("#FALSE#\r\n", 32) + Repeat(kDefaultChannelBlock, 16);
}

// A state that differs from the defaults in every saved field.
AcquisitionState EditedState(const std::string& folder) {
    AcquisitionState state;
    state.AppDir = folder;
    state.ComPort1 = 7;
    state.ComPort2 = 12;
    for (int line = 0; line < kUsedLines; ++line) {
        state.DigitalDirection[line] = line % 3 == 0 ? kLineOutput : kLineInput;
    }
    for (int s = 0; s < kUsedChannels; ++s) {
        state.InputType[s] = static_cast<std::int16_t>(s % 7);
        state.InputRange[s] = 0.1 * (s + 1) - 3.0;
        state.CalZero10V[s] = static_cast<std::int16_t>(-100 - s);
        state.CalZero200mV[s] = static_cast<std::int16_t>(50 + s);
        state.CalSpan10V[s] = static_cast<std::int16_t>(31000 + s);
        state.CalSpan200mV[s] = static_cast<std::int16_t>(-32768 + s);
        state.CalRTD[s] = static_cast<std::int16_t>(12000 + 7 * s);
        state.PlotChannel[s] = s % 2 == 0;
        state.SaveChannel[s] = s % 5 == 0;
        state.ChannelName[s] = "Oven, zone " + std::to_string(s);
    }
    state.LogFileName = "C:\\data\\run 1.csv";
    state.LogHeaders = false;
    state.LogDelimiter = 3;
    state.LogIntervalUnit = 2;
    state.LogIntervalChoice = 30;
    state.LogStampStyle = 4;
    return state;
}

TEST(ChannelSettingsFile, DefaultsAreWrittenByteForByte) {
    const AcquisitionState state;
    const std::string text = ChannelSettingsText(state);
    EXPECT_EQ(text, DefaultChannelSettings());
}

TEST(ChannelSettingsFile, OutputLinesAreTrue) {
    AcquisitionState state;
    state.DigitalDirection[0] = kLineOutput;
    state.DigitalDirection[31] = kLineOutput;
    state.DigitalDirection[32] = kLineOutput;  // beyond the used lines: not saved
    const std::string text = ChannelSettingsText(state);
    EXPECT_EQ(text.substr(0, 18), "#TRUE#\r\n#FALSE#\r\n#");
    EXPECT_EQ(text.find("#TRUE#", 1), 8u + 30u * 9u);
}

TEST(LogSettingsFile, DefaultsAreWrittenByteForByte) {
    AcquisitionState state;
    state.LogFileName = "test.csv";
    std::string expected = "\"test.csv\"\r\n#TRUE#\r\n1\r\n1\r\n5\r\n3\r\n";
    for (int s = 0; s < 16; ++s) {
        expected += "\"Channel " + std::to_string(s) + "\"\r\n";
    }
    EXPECT_EQ(LogSettingsText(state), expected);
}

TEST(PortSettingsFile, PortNumbersArePrintedWithBlanks) {
    AcquisitionState state;
    EXPECT_EQ(PortSettingsText(state), " 1 \r\n 2 \r\n");
    state.ComPort1 = 10;
    state.ComPort2 = -3;
    EXPECT_EQ(PortSettingsText(state), " 10 \r\n-3 \r\n");
}

TEST(SettingsFiles, WhatIsWrittenReadsBackUnchanged) {
    const AcquisitionState saved = EditedState("");
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

TEST(SettingsFiles, AQuoteInAChannelNameDoesNotReadBackIntact) {
    AcquisitionState saved;
    saved.ChannelName[0] = "12\" pipe";
    AcquisitionState loaded;
    FieldReader log(LogSettingsText(saved));
    ASSERT_EQ(ReadLogSettings(log, loaded), std::nullopt);
    EXPECT_EQ(loaded.ChannelName[0], "12");
    EXPECT_EQ(loaded.ChannelName[1], "Channel 1");
}

// Guards the field named to the user: an off-by-one in the line, the slot or the
// field's place in the channel block would send them to the wrong line.
TEST(SettingsFiles, ReadingStopsAtTheFirstBadFieldKeepingTheOnesBefore) {
    // Line 46 is channel 1's 10 V span.
    const std::string text =
        Repeat("#FALSE#\r\n", 32) + kDefaultChannelBlock + "0\r\n10\r\n0\r\n0\r\n#TRUE#\r\n";
    AcquisitionState loaded;
    loaded.CalSpan10V[1] = 31000;
    loaded.CalSpan200mV[1] = 31000;
    loaded.CalZero200mV[1] = 5;
    FieldReader reader(text);
    EXPECT_EQ(ReadChannelSettings(reader, loaded), "line 46, the 10 V span of channel 1");
    EXPECT_EQ(loaded.CalZero200mV[1], 0);
    EXPECT_EQ(loaded.CalSpan10V[1], 31000);
    EXPECT_EQ(loaded.CalSpan200mV[1], 31000);

    FieldReader shortFile("\"log.csv\"\r\n#TRUE#\r\n");
    EXPECT_EQ(ReadLogSettings(shortFile, loaded), "line 3, the log delimiter");
    FieldReader wrongType("\"1\"\r\n 2 \r\n");
    EXPECT_EQ(ReadPortSettings(wrongType, loaded), "line 1, the port of card 1");
}

TEST(SaveSettings, WritesTheFilesInTheStartFolder) {
    testing::TempFolder folder;
    const AcquisitionState state = EditedState(folder.path().string());
    EXPECT_FALSE(modMain::SaveChannelSettings(state).has_value());
    EXPECT_FALSE(modMain::SaveLogSettings(state).has_value());
    EXPECT_FALSE(modMain::SavePortSettings(state).has_value());
    EXPECT_EQ(folder.read("vtrlo.con"), ChannelSettingsText(state));
    EXPECT_EQ(folder.read("vtrls.con"), LogSettingsText(state));
    EXPECT_EQ(folder.read("vtrl.con"), " 7 \r\n 12 \r\n");
}

TEST(SaveSettings, SavingTwiceWithoutChangesGivesIdenticalFiles) {
    testing::TempFolder folder;
    const AcquisitionState state = EditedState(folder.path().string());
    ASSERT_FALSE(modMain::SaveChannelSettings(state).has_value());
    const std::string first = folder.read("vtrlo.con");
    ASSERT_FALSE(modMain::SaveChannelSettings(state).has_value());
    EXPECT_EQ(folder.read("vtrlo.con"), first);
}

TEST(SaveSettings, AFolderThatCannotBeWrittenIsReportedByFileName) {
    testing::TempFolder folder;
    AcquisitionState state;
    state.AppDir = (folder.path() / "gone").string();
    const auto error = modMain::SaveLogSettings(state);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("vtrls.con"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
