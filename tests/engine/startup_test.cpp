// Guards start-up against losing what the user kept: a missing or damaged settings
// file must cost only its own fields from the bad one on, its bytes must survive as
// <name>.bad, and the user must be told; a first run stays silent. Also the order in
// which the thermocouple tables are looked for.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
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

class StartUpMissingSettings : public StartUp, public ::testing::WithParamInterface<const char*> {};

// The other two files are read; only the missing file's own fields take their
// defaults; it alone is recreated now (vtrls.con at exit), and nothing is said: it
// is the normal first-run recovery.
TEST_P(StartUpMissingSettings, CostsOnlyThatFilesFields) {
    writeEditedSettings();
    const std::string file = GetParam();
    std::filesystem::remove(folder.file(file));
    const StartUpResult result = start();
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.warning, "");
    EXPECT_EQ(state.ComPort2, file == "vtrl.con" ? 2 : 9);
    EXPECT_EQ(state.CalRTD[3], file == "vtrlo.con" ? 13000 : 12987);
    EXPECT_EQ(state.ChannelName[0], file == "vtrls.con" ? "Channel 0" : "Oven");
    EXPECT_EQ(folder.read("vtrl.con"), PortSettingsText(state));
    EXPECT_EQ(folder.read("vtrlo.con"), ChannelSettingsText(state));
    EXPECT_EQ(folder.exists("vtrls.con"), file != "vtrls.con");
}

INSTANTIATE_TEST_SUITE_P(Files, StartUpMissingSettings,
                         ::testing::Values("vtrl.con", "vtrlo.con", "vtrls.con"));

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
    std::function<void(std::string&)> damage;
    const char* mentions;  // the field where reading stopped, as the user is told
    bool rewrittenNow;
    std::function<void(const AcquisitionState&)> expectKept;
};

void Replace(std::string& text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
}

std::size_t LineStart(const std::string& text, int line) {
    std::size_t at = 0;
    for (int before = 1; before < line; ++before) {
        at = text.find('\n', at) + 1;
    }
    return at;
}

class StartUpDamagedSettings : public StartUp, public ::testing::WithParamInterface<DamagedFile> {};

TEST_P(StartUpDamagedSettings, KeepsTheFieldsBeforeTheDamageABackupAndTellsTheUser) {
    const DamagedFile& c = GetParam();
    writeEditedSettings();
    std::string damaged = folder.read(c.file);
    c.damage(damaged);
    folder.write(c.file, damaged);
    const StartUpResult result = start();
    ASSERT_TRUE(result.ok) << result.error;
    c.expectKept(state);
    EXPECT_EQ(folder.read(std::string(c.file) + ".bad"), damaged);
    EXPECT_NE(result.warning.find(c.mentions), std::string::npos) << result.warning;
    EXPECT_NE(result.warning.find(folder.file(std::string(c.file) + ".bad")), std::string::npos)
        << result.warning;
    if (c.rewrittenNow) {
        EXPECT_EQ(folder.read(c.file), c.file == std::string("vtrl.con")
                                           ? PortSettingsText(state)
                                           : ChannelSettingsText(state));
    } else {
        EXPECT_EQ(folder.read(c.file), damaged);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, StartUpDamagedSettings,
    ::testing::Values(
        DamagedFile{"PortOutOfRange", "vtrl.con", [](std::string& t) { Replace(t, "9", "70000"); },
                    "vtrl.con is damaged: reading stopped at line 2, the port of card 2", true,
                    [](const AcquisitionState& s) {
                        EXPECT_EQ(s.ComPort1, 4);
                        EXPECT_EQ(s.ComPort2, 2);
                        EXPECT_EQ(s.CalRTD[3], 12987);
                    }},
        // Channel 4's plot mark: everything of channels 0..3 and the lines stays.
        DamagedFile{"BadBoolean", "vtrlo.con",
                    [](std::string& t) { t.replace(LineStart(t, 32 + 4 * 9 + 8), 7, "#TRU#"); },
                    "line 76, the plot mark of channel 4", true,
                    [](const AcquisitionState& s) {
                        EXPECT_EQ(s.ComPort2, 9);
                        EXPECT_EQ(s.InputType[3], 4);
                        EXPECT_EQ(s.CalRTD[3], 12987);
                        EXPECT_EQ(s.DigitalDirection[17], kLineOutput);
                        EXPECT_FALSE(s.SaveChannel[15]);
                    }},
        DamagedFile{"TooLarge", "vtrlo.con", [](std::string& t) { t.append(70'000, ' '); },
                    "vtrlo.con could not be read", true,
                    [](const AcquisitionState& s) { EXPECT_EQ(s.CalRTD[3], 13000); }},
        DamagedFile{"Short", "vtrls.con", [](std::string& t) { t.resize(LineStart(t, 8)); },
                    "line 8, the name of channel 1", false,
                    [](const AcquisitionState& s) {
                        EXPECT_EQ(s.ChannelName[0], "Oven");
                        EXPECT_EQ(s.ChannelName[1], "Channel 1");
                        EXPECT_EQ(s.ComPort2, 9);
                    }}),
    [](const ::testing::TestParamInfo<DamagedFile>& info) { return info.param.name; });

struct BadTable {
    const char* name;
    const char* file;
    std::string contents;
    const char* mentions;
};

class StartUpBadTables : public StartUp, public ::testing::WithParamInterface<BadTable> {};

TEST_P(StartUpBadTables, StopsNamingTheFileAndWritesNothing) {
    const BadTable& c = GetParam();
    folder.write(c.file, c.contents);
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
    ::testing::Values(BadTable{"ShortJ", "j.tc", Rising(1100), "1100 numbers"},
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

struct TableLookup {
    const char* name;
    bool inStartFolder;
    bool installed;
    double entry100;  // of the table that was read; unused when start-up fails
};

class StartUpTableLookup : public StartUp, public ::testing::WithParamInterface<TableLookup> {};

// The start folder's copy wins; the copy installed with the program stands in for a
// missing one; when neither exists, the message names both places.
TEST_P(StartUpTableLookup, StartFolderFirstThenTheInstalledCopy) {
    const TableLookup& c = GetParam();
    testing::TempFolder installed;
    if (c.installed) {
        std::filesystem::copy_file(folder.file("j.tc"), installed.file("j.tc"));
    }
    folder.write("j.tc", Rising(1101));
    if (!c.inStartFolder) {
        std::filesystem::remove(folder.file("j.tc"));
    }
    const StartUpResult result =
        RunStartUp(state, folder.path().string(), installed.path().string());
    if (!c.inStartFolder && !c.installed) {
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, "j.tc was not found in " + folder.path().string() + " nor in " +
                                    installed.path().string());
        return;
    }
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(state.TableJ[100], c.entry100);
}

INSTANTIATE_TEST_SUITE_P(Places, StartUpTableLookup,
                         ::testing::Values(TableLookup{"StartFolderWins", true, true, 100.5},
                                           TableLookup{"InstalledCopy", false, true, 5.269},
                                           TableLookup{"Neither", false, false, 0.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartUp, SettingsThatCannotBeRecreatedAreReported) {
    // A start folder that is gone cannot take the files; the tables come from the
    // installed copies.
    const StartUpResult result = RunStartUp(state, folder.file("gone"), folder.path().string());
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_NE(result.warning.find("vtrl.con"), std::string::npos) << result.warning;
    EXPECT_NE(result.warning.find("vtrlo.con"), std::string::npos) << result.warning;
}

}  // namespace
}  // namespace vantrel
