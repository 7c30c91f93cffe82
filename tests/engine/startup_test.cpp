// Guards start-up: every default and the write style of the files a first run creates,
// a missing or damaged settings file costing only its own fields from the bad one on
// (kept as <name>.bad, the user told which file, field and backup), and where the
// thermocouple tables are looked for and which ones are refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "settings/SettingsFiles.h"
#include "settings/StartUp.h"
#include "tests/engine/FileSizeLimit.h"
#include "tests/engine/Tables.h"
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

// Count numbered lines: prefix, 0, 1, ... count - 1, each followed by suffix.
std::string Numbered(int count, const std::string& prefix, const std::string& suffix) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += prefix + std::to_string(i) + suffix;
    }
    return text;
}

// A start folder holding only the shipped tables.
struct StartFolder {
    StartFolder() { testing::CopyShippedTables(folder.path().string()); }
    StartUpResult start(const std::string& installed = {}) {
        return RunStartUp(state, folder.path().string(), installed);
    }
    testing::TempFolder folder;
    AcquisitionState state;
};

TEST(StartUp, FirstRunWritesTheDefaultsAndForgetsThePreviousRun) {
    StartFolder run;
    run.state.InputType[2] = 6;
    const StartUpResult result = run.start();
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.warning, "");
    EXPECT_EQ(run.folder.read("vtrl.con"), " 1 \r\n 2 \r\n");
    EXPECT_EQ(
        run.folder.read("vtrlo.con"),
        Repeat("#FALSE#\r\n", 32) +
            Repeat("0\r\n10\r\n0\r\n0\r\n32000\r\n32000\r\n13000\r\n#FALSE#\r\n#FALSE#\r\n", 16));
    // The log settings are written at exit; by default the log lies beside them.
    EXPECT_EQ(LogSettingsText(run.state), "\"" + run.folder.file("test.csv") +
                                              "\"\r\n#TRUE#\r\n1\r\n1\r\n5\r\n3\r\n" +
                                              Numbered(16, "\"Channel ", "\"\r\n"));
    EXPECT_EQ(run.folder.entryCount(), 4u);
    // A state built as the tests build one starts from the same defaults.
    EXPECT_EQ(ChannelSettingsText(AcquisitionState()), run.folder.read("vtrlo.con"));
    EXPECT_EQ(LogSettingsText(AcquisitionState(run.folder.path().string())),
              LogSettingsText(run.state));
}

// The fields on either side of each row's damage, in a line that reads at a glance.
std::string Kept(const AcquisitionState& s) {
    return std::to_string(s.ComPort1) + "," + std::to_string(s.ComPort2) + "," +
           std::to_string(s.CalRTD[4]) + "," + (s.SaveChannel[15] ? "save" : "-") + "," +
           s.ChannelName[0] + "," + s.ChannelName[1];
}

TEST(StartUp, AMissingOrDamagedSettingsFileCostsOnlyItsOwnFieldsFromTheDamageOn) {
    struct Case {
        const char* file;
        void (*damage)(std::string&);  // leaving nothing: the file is missing, not mentioned
        const char* message;           // part of what the user is told
        const char* kept;
    };
    const Case cases[] = {
        {"vtrl.con", [](std::string& t) { t.clear(); }, "", "1,2,12987,save,Oven,Kiln"},
        {"vtrls.con", [](std::string& t) { t.clear(); }, "", "4,9,12987,save,Channel 0,Channel 1"},
        {"vtrl.con", [](std::string& t) { t = " 4 \r\n 70000 \r\n"; },
         "vtrl.con is damaged: reading stopped at line 2, the port of card 2. The settings before "
         "it were kept, the rest are back to their defaults. The damaged file was kept as ",
         "4,2,12987,save,Oven,Kiln"},
        {"vtrlo.con", [](std::string& t) { t.resize(t.find("#FALSE#", t.find("12987"))); },
         "line 76, the plot mark of channel 4", "4,9,12987,-,Oven,Kiln"},
        {"vtrlo.con", [](std::string& t) { t.append(64 * 1024, ' '); },
         "larger than 65536 bytes, and only that much was read. The settings before",
         "4,9,12987,save,Oven,Kiln"},
        {"vtrls.con", [](std::string& t) { t.resize(t.find("\"Kiln\"")); },
         "line 8, the name of channel 1", "4,9,12987,save,Oven,Channel 1"},
    };
    AcquisitionState edited;
    edited.ComPort1 = 4;
    edited.ComPort2 = 9;
    edited.CalRTD[4] = 12987;
    edited.SaveChannel[15] = true;
    edited.ChannelName = {"Oven", "Kiln"};
    for (const Case& c : cases) {
        StartFolder run;
        run.folder.write("vtrl.con", PortSettingsText(edited));
        run.folder.write("vtrlo.con", ChannelSettingsText(edited));
        run.folder.write("vtrls.con", LogSettingsText(edited));
        std::string left = run.folder.read(c.file);  // what the file holds at start-up
        c.damage(left);
        run.folder.write(c.file, left);
        if (left.empty()) {
            std::filesystem::remove(run.folder.file(c.file));
        }
        const StartUpResult result = run.start();
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(Kept(run.state), c.kept) << c.message;
        const std::string backup = std::string(c.file) + ".bad";
        EXPECT_EQ(run.folder.read(backup), left);
        EXPECT_NE(result.warning.find(c.message), std::string::npos) << result.warning;
        EXPECT_EQ(result.warning.find(run.folder.file(backup) + ".") == std::string::npos,
                  left.empty())
            << result.warning;
        // The port and channel files are rewritten at once, the log file only at exit.
        EXPECT_EQ(run.folder.read("vtrl.con"), PortSettingsText(run.state));
        EXPECT_EQ(run.folder.read("vtrlo.con"), ChannelSettingsText(run.state));
        EXPECT_EQ(run.folder.read("vtrls.con"),
                  c.file == std::string("vtrls.con") ? left : LogSettingsText(edited));
    }
}

TEST(StartUp, DamagedCopiesAreNeverReplacedAndAFileThatCannotBeKeptIsNeverWritten) {
    StartFolder run;
    // An editor's byte-order mark is no part of the log file's name.
    run.folder.write("vtrls.con", "\xEF\xBB\xBF\"run.csv\"\r\n#TRUE#\r\n");
    ASSERT_TRUE(run.start().ok);
    EXPECT_EQ(run.state.LogFileName, "run.csv");
    run.folder.write("vtrls.con", "second damage\r\n");
    ASSERT_TRUE(run.start().ok);
    EXPECT_EQ(run.folder.read("vtrls.con.bad"), "\xEF\xBB\xBF\"run.csv\"\r\n#TRUE#\r\n");
    EXPECT_EQ(run.folder.read("vtrls.con.1.bad"), "second damage\r\n");
#ifdef __linux__
    // A file-size limit below the damaged file's size makes its copy fail.
    const std::string damaged = "#TRUE#\r\n" + std::string(100, 'x') + "\r\n";
    run.folder.write("vtrlo.con", damaged);
    const StartUpResult result = testing::UnderFileSizeLimit(16, [&] { return run.start(); });
    EXPECT_NE(result.warning.find("so it is left as it is, and the settings changed since "
                                  "start-up are not saved to it."),
              std::string::npos)
        << result.warning;
    EXPECT_FALSE(run.folder.exists("vtrlo.con.bad"));
    EXPECT_EQ(SaveChannelSettings(run.state).value_or("").substr(0, 32),
              "vtrlo.con is left as it is: it c");
    EXPECT_EQ(run.folder.read("vtrlo.con"), damaged);
#endif
}

TEST(StartUp, TablesComeFromTheStartFolderElseTheInstalledOne) {
    StartFolder run;
    testing::TempFolder installed;
    std::filesystem::rename(run.folder.file("j.tc"), installed.file("j.tc"));
    ASSERT_TRUE(run.start(installed.path().string()).ok);
    EXPECT_EQ(run.state.TableJ[100], 5.269);
    EXPECT_EQ(run.state.TableK[200 + 100], 4.096);
    run.folder.write("j.tc",
                     Numbered(1500, "", ".5\r\n"));  // numbers past the table's end are not read
    ASSERT_TRUE(run.start(installed.path().string()).ok);
    EXPECT_EQ(run.state.TableJ[1100], 1100.5);
    EXPECT_EQ(run.state.TableJ[1101], 0.0);
    // A start folder that is gone cannot take the settings files; the user is told.
    const std::string warning =
        RunStartUp(run.state, run.folder.file("gone"), run.folder.path().string()).warning;
    EXPECT_NE(warning.find("be saved: Cannot create " + run.folder.file("gone/vtrlo.con")),
              std::string::npos)
        << warning;
    std::filesystem::remove(run.folder.file("j.tc"));
    std::filesystem::remove(installed.file("j.tc"));
    EXPECT_EQ(run.start(installed.path().string()).error,
              "j.tc was not found in " + run.folder.path().string() + " nor in " +
                  installed.path().string());
}

TEST(StartUp, ABadTableStopsTheStartNamingTheFileAndWritesNothing) {
    const std::string rising = Numbered(2000, "", ".5\r\n");
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"j.tc", rising.substr(0, rising.find("1100.5")), "j.tc: holds 1100 numbers, 1101 are"},
        {"k.tc", rising.substr(0, rising.find("1570.5")), "k.tc: holds 1570 numbers, 1571 are"},
        {"k.tc", "0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\nabc\r\n" + rising,
         "k.tc: line 8 is not a number"},
        {"j.tc", "0\r\n3\r\n" + rising, "j.tc: line 3 is below the voltage before it"},
        {"j.tc", rising + std::string(256 * 1024, ' '), "larger than 262144 bytes"},
    };
    for (const auto& [file, contents, error] : cases) {
        StartFolder run;
        run.folder.write(file, contents);
        const StartUpResult result = run.start();
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(error), std::string::npos) << result.error;
        EXPECT_EQ(run.folder.entryCount(), 2u);
    }
}

}  // namespace
}  // namespace vantrel
