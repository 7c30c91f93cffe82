// The real `vantrel --headless --log` from the build tree, in a folder prepared
// with the program's own settings writers, with two simulated cards and no display:
// it logs records of both cards, and SIGTERM ends it with "@F" to both cards, both
// settings files written and every record in the log. Guards against a headless run
// that needs a display, logs one card only, loses the records of its last tick,
// or skips the end on SIGTERM (or is cut short by its five-second alarm), and an
// event that is not a status line of its own; and a --help that loses the start
// folder's files or needs a display.
#include <signal.h>

#include <gtest/gtest.h>

#include <QDir>

#include "tests/app/HeadlessFolder.h"

namespace vantrel::testing {
namespace {

TEST(Headless, LogsBothCardsWithoutADisplayAndSigtermEndsItLosingNothing) {
    HeadlessFolder rig;
    ASSERT_TRUE(rig.prepare({"--rate", "20", "--ch", "0=count:16000", "--log-commands"},
                            {"--rate", "20", "--ch", "0=count:8000", "--log-commands"}));
    const QString log = rig.log();
    QTemporaryDir& folder = rig.folder;

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    // A window system that is not there: only a run that needs none gets going.
    environment.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(environment);
    rig.start(program);
    ASSERT_TRUE(rig.logsAtLeast(5)) << program.readAllStandardError().toStdString();

    // What the program read at start is gone; the end must write it again.
    QFile::remove(folder.filePath(kChannelSettingsFile));
    QFile::remove(folder.filePath(kLogSettingsFile));
    rig.expectOrderlyEnd(program);

    QStringList lines = FileText(log).split("\r\n");
    EXPECT_EQ(lines.takeLast(), "");  // the last record is whole
    EXPECT_EQ(lines.takeFirst(), "SN,Channel 0,Channel 8");
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i], QString("%1,5,2.5").arg(i + 1));
    }
    EXPECT_EQ(QDir(folder.path()).entryList({"*.journal", "*-unsaved-*"}), QStringList{});
    EXPECT_EQ(FileText(folder.filePath(kChannelSettingsFile)).toStdString(), rig.channelSettings);
    EXPECT_EQ(FileText(folder.filePath(kLogSettingsFile)).toStdString(), rig.logSettings);
    for (const CardSimProcess& card : rig.card) {
        PumpUntil([&] { return card.commands().endsWith("@F"); }, 3000);
        EXPECT_EQ(card.commands(), (QStringList{"?", "@TA00", "@N", "@F"}));
    }
    const QString said = "\n" + QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(said.contains("vantrel: log file: " + log)) << said.toStdString();
    // Each event a line of its own.
    EXPECT_TRUE(said.contains("\nvantrel: Event: task started\n"));
    EXPECT_TRUE(
        said.contains("\nvantrel: Event: logging started: Logging started in " + log + "\n"))
        << said.toStdString();
}

TEST(Headless, HelpNamesTheStartFolderFilesWithoutADisplay) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("VANTREL_BINARY_DIR") + "/vantrel", {"--help"});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
    const QString help = QString::fromUtf8(program.readAllStandardOutput());
    for (const char* line :
         {"Reads its settings (vtrl.con, vtrlo.con, vtrls.con) from its start folder\n",
          "channel scales and more) are kept in vantrel.ini in the same start folder,\n",
          "  --folder <dir>  Use <dir> as the start folder (created when missing) instead\n"}) {
        EXPECT_TRUE(help.contains(QString::fromUtf8(line))) << line << help.toStdString();
    }
}

}  // namespace
}  // namespace vantrel::testing
