#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/SettingsFiles.h"
#include "engine/StartUp.h"
#include "tests/engine/Tables.h"
#include "tests/engine/TempFolder.h"

namespace vantrel {
namespace {

class StartUp : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* table : {"j.tc", "k.tc"}) {
            std::filesystem::copy_file(testing::DataFolder() + "/" + table, folder.file(table));
        }
    }

    StartUpResult start() { return RunStartUp(state, folder.path().string()); }

    // The state as a run that changed every saved field would leave it.
    void writeEditedSettings() {
        AcquisitionState edited;
        edited.ComPort1 = 4;
        edited.ComPort2 = 9;
        edited.InputType[3] = 4;
        edited.InputRange[3] = 2.5;
        edited.CalRTD[3] = 12987;
        edited.DigitalDirection[17] = kLineOutput;
        edited.SaveChannel[15] = true;
        edited.LogFileName = "/data/oven.csv";
        edited.LogDelimiter = 2;
        edited.ChannelName[0] = "Oven";
        folder.write("vtrl.con", PortSettingsText(edited));
        folder.write("vtrlo.con", ChannelSettingsText(edited));
        folder.write("vtrls.con", LogSettingsText(edited));
    }

    void expectEditedChannelSettings() const {
        EXPECT_EQ(state.InputType[3], 4);
        EXPECT_EQ(state.InputRange[3], 2.5);
        EXPECT_EQ(state.CalRTD[3], 12987);
        EXPECT_EQ(state.DigitalDirection[17], kLineOutput);
        EXPECT_TRUE(state.SaveChannel[15]);
    }

    void expectDefaultChannelSettings() const {
        for (int s = 0; s < kUsedChannels; ++s) {
            EXPECT_EQ(state.InputType[s], 0);
            EXPECT_EQ(state.InputRange[s], 10.0);
            EXPECT_EQ(state.CalRTD[s], 13000);
            EXPECT_FALSE(state.SaveChannel[s]);
        }
        for (int line = 0; line < kUsedLines; ++line) {
            EXPECT_EQ(state.DigitalDirection[line], kLineInput);
        }
    }

    testing::TempFolder folder;
    AcquisitionState state;
};

TEST_F(StartUp, FirstRunCreatesThePortAndChannelFilesFromTheDefaults) {
    const StartUpResult result = start();
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(result.warning.empty()) << result.warning;
    EXPECT_EQ(state.ComPort1, 1);
    EXPECT_EQ(state.ComPort2, 2);
    expectDefaultChannelSettings();
    EXPECT_EQ(folder.read("vtrl.con"), " 1 \r\n 2 \r\n");
    EXPECT_EQ(folder.read("vtrlo.con"), ChannelSettingsText(AcquisitionState()));
    EXPECT_FALSE(folder.exists("vtrls.con"));
    EXPECT_EQ(folder.entryCount(), 4u);
    EXPECT_EQ(state.ChannelName[0], "Channel 0");
    EXPECT_EQ(state.ChannelName[15], "Channel 15");
}

TEST_F(StartUp, LoadsTheTables) {
    ASSERT_TRUE(start().ok);
    EXPECT_EQ(state.TableJ[0], 0.0);
    EXPECT_EQ(state.TableJ[100], 5.269);
    EXPECT_EQ(state.TableK[200 + 100], 4.096);
    EXPECT_EQ(state.TableK[0], -5.891);
    EXPECT_EQ(state.TableJ[1101], 0.0);
    EXPECT_EQ(state.TableK[1571], 0.0);
}

TEST_F(StartUp, ReadsAllThreeSettingsFiles) {
    writeEditedSettings();
    const std::string channels = folder.read("vtrlo.con");
    ASSERT_TRUE(start().ok);
    EXPECT_EQ(state.ComPort1, 4);
    EXPECT_EQ(state.ComPort2, 9);
    expectEditedChannelSettings();
    EXPECT_EQ(state.LogFileName, "/data/oven.csv");
    EXPECT_EQ(state.LogDelimiter, 2);
    EXPECT_EQ(state.ChannelName[0], "Oven");
    EXPECT_EQ(folder.read("vtrlo.con"), channels);
}

TEST_F(StartUp, AMissingLogSettingsFileAloneResetsThePorts) {
    writeEditedSettings();
    std::filesystem::remove(folder.file("vtrls.con"));
    ASSERT_TRUE(start().ok);
    EXPECT_EQ(state.ComPort1, 1);
    EXPECT_EQ(state.ComPort2, 2);
    EXPECT_EQ(folder.read("vtrl.con"), " 1 \r\n 2 \r\n");
    expectEditedChannelSettings();
    EXPECT_EQ(folder.read("vtrlo.con"), ChannelSettingsText(state));
    EXPECT_FALSE(folder.exists("vtrls.con"));
}

TEST_F(StartUp, TheDefaultLogFileLiesInTheStartFolder) {
    ASSERT_TRUE(start().ok);
#ifdef _WIN32
    EXPECT_EQ(state.LogFileName, "D:\\test.csv");
#else
    EXPECT_EQ(state.LogFileName, folder.file("test.csv"));
#endif
}

TEST_F(StartUp, ResetsWhatAPreviousRunLeftInTheState) {
    state.CardConnected1 = true;
    state.Saving = true;
    state.AnalogFrame1 = "old";
    state.InputType[2] = 6;
    state.DigitalOutCmd[4] = true;
    ASSERT_TRUE(start().ok);
    EXPECT_FALSE(state.CardConnected1);
    EXPECT_FALSE(state.Saving);
    EXPECT_EQ(state.AnalogFrame1.size(), 62u);
    EXPECT_EQ(state.InputType[2], 0);
    EXPECT_FALSE(state.DigitalOutCmd[4]);
    EXPECT_EQ(state.AppDir, folder.path().string());
}

struct DamagedFile {
    const char* name;
    const char* file;
    std::string contents;
};

class StartUpDamagedSettings : public StartUp, public ::testing::WithParamInterface<DamagedFile> {};

// A file that is there but cannot be read whole is treated as missing: none of its
// values are taken, the ports go back to 1 and 2, and vtrl.con and vtrlo.con are
// written afresh.
TEST_P(StartUpDamagedSettings, RecoversAsIfTheFileWereMissing) {
    writeEditedSettings();
    folder.write(GetParam().file, GetParam().contents);
    const StartUpResult result = start();
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(state.ComPort1, 1);
    EXPECT_EQ(state.ComPort2, 2);
    EXPECT_EQ(folder.read("vtrl.con"), " 1 \r\n 2 \r\n");
    const bool channelsDamaged = std::string(GetParam().file) == "vtrlo.con";
    const bool portsDamaged = std::string(GetParam().file) == "vtrl.con";
    if (channelsDamaged || portsDamaged) {
        expectDefaultChannelSettings();
    } else {
        expectEditedChannelSettings();
    }
    EXPECT_EQ(state.ChannelName[0], "Channel 0");
    EXPECT_EQ(folder.read("vtrlo.con"), ChannelSettingsText(state));
}

INSTANTIATE_TEST_SUITE_P(
    Files, StartUpDamagedSettings,
    ::testing::Values(
        DamagedFile{"EmptyPorts", "vtrl.con", ""}, DamagedFile{"OnePort", "vtrl.con", " 3 \r\n"},
        DamagedFile{"PortOutOfRange", "vtrl.con", " 3 \r\n 70000 \r\n"},
        DamagedFile{"ShortChannels", "vtrlo.con", std::string(40, '\n') + "#TRUE#\r\n0\r\n"},
        DamagedFile{"TextForABoolean", "vtrlo.con", "\"#TRUE#\"\r\n"},
        DamagedFile{"BinaryChannels", "vtrlo.con", std::string("\x7f\x45\x4c\x46\x00\x01\xff", 7)},
        DamagedFile{"HugeChannels", "vtrlo.con", std::string(10'000'000, '#')},
        DamagedFile{"ShortLog", "vtrls.con", "\"log.csv\"\r\n#TRUE#\r\n1\r\n"},
        DamagedFile{"UnclosedQuoteLog", "vtrls.con", "\"log.csv\r\n#TRUE#\r\n"},
        DamagedFile{"HugeLog", "vtrls.con", std::string(1'000'000, ',')}),
    [](const ::testing::TestParamInfo<DamagedFile>& info) { return info.param.name; });

TEST_F(StartUp, ASettingsFolderEntryThatIsAFolderIsRecoveredToo) {
    std::filesystem::create_directory(folder.path() / "vtrls.con");
    const StartUpResult result = start();
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(folder.read("vtrl.con"), " 1 \r\n 2 \r\n");
}

TEST_F(StartUp, ARecoveryThatCannotWriteStillStartsAndSaysWhy) {
    // A folder named like the file cannot be replaced by the rewritten file.
    std::filesystem::create_directories(folder.path() / "vtrlo.con" / "in the way");
    const StartUpResult result = start();
    EXPECT_TRUE(result.ok);
    EXPECT_NE(result.warning.find("vtrlo.con"), std::string::npos);
    EXPECT_EQ(folder.read("vtrl.con"), " 1 \r\n 2 \r\n");
}

struct BadTable {
    const char* name;
    const char* file;
    std::string contents;  // empty: the file is removed
    const char* mentions;
};

class StartUpBadTables : public StartUp, public ::testing::WithParamInterface<BadTable> {};

TEST_P(StartUpBadTables, StopsNamingTheFileAndWritesNothing) {
    const BadTable& c = GetParam();
    if (c.contents.empty()) {
        std::filesystem::remove(folder.file(c.file));
    } else {
        folder.write(c.file, c.contents);
    }
    const StartUpResult result = start();
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find(c.file), std::string::npos) << result.error;
    EXPECT_NE(result.error.find(c.mentions), std::string::npos) << result.error;
    EXPECT_FALSE(folder.exists("vtrl.con"));
    EXPECT_FALSE(folder.exists("vtrlo.con"));
}

std::string Rising(int count, int from = 0) {
    std::string text;
    for (int i = from; i < from + count; ++i) {
        text += std::to_string(i) + ".5\r\n";
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Tables, StartUpBadTables,
    ::testing::Values(BadTable{"MissingJ", "j.tc", "", "open"},
                      BadTable{"MissingK", "k.tc", "", "open"},
                      BadTable{"ShortJ", "j.tc", Rising(1100), "1100 numbers"},
                      BadTable{"ShortK", "k.tc", Rising(1570), "1570 numbers"},
                      BadTable{"NotANumber", "k.tc", Rising(7) + "abc\r\n" + Rising(2000),
                               "line 8"},
                      BadTable{"Falling", "j.tc", Rising(9) + "3\r\n" + Rising(2000), "line 10"},
                      BadTable{"Huge", "j.tc", std::string(2'000'000, '1'), "larger"}),
    [](const ::testing::TestParamInfo<BadTable>& info) { return info.param.name; });

TEST_F(StartUp, ExtraNumbersInATableAreIgnored) {
    folder.write("j.tc", Rising(1500));
    folder.write("k.tc", "0,1,2,3\r\n" + Rising(1600, 4));
    ASSERT_TRUE(start().ok);
    EXPECT_EQ(state.TableJ[1100], 1100.5);
    EXPECT_EQ(state.TableJ[1101], 0.0);
    EXPECT_EQ(state.TableK[3], 3.0);
    EXPECT_EQ(state.TableK[4], 4.5);
}

}  // namespace
}  // namespace vantrel
