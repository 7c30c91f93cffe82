// The real `vantrel --headless --log` from the build tree, in a folder prepared
// with the program's own settings writers, with two simulated cards and no display:
// it logs records of both cards, and SIGTERM ends it with "@F" to both cards, both
// settings files written and every record in the log. Guards against a headless run
// that needs a display, logs one card only, loses the records of its last tick,
// skips the end on SIGTERM, or takes longer than five seconds to end.
#include <signal.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "settings/AppPaths.h"
#include "settings/AtomicFile.h"
#include "settings/SettingsFiles.h"
#include "settings/StartUp.h"
#include "tests/support/CardSimProcess.h"

namespace vantrel::testing {
namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The commands a simulator heard, in order.
QStringList Commands(const CardSimProcess& sim) {
    QStringList heard;
    for (const QString& line : sim.lines()) {
        if (line.startsWith("command ")) {
            heard << line.section(' ', 2);
        }
    }
    return heard;
}

TEST(Headless, LogsBothCardsWithoutADisplayAndSigtermEndsItLosingNothing) {
    CardSimProcess card1;
    CardSimProcess card2;
    ASSERT_TRUE(card1.start(1, {"--rate", "20", "--ch", "0=count:16000", "--log-commands"}));
    ASSERT_TRUE(card2.start(2, {"--rate", "20", "--ch", "0=count:8000", "--log-commands"}));
    QTemporaryDir folder;
    const QString data = qEnvironmentVariable("VANTREL_SOURCE_DIR") + "/data/";
    for (const char* table : {"j.tc", "k.tc"}) {
        ASSERT_TRUE(QFile::copy(data + table, folder.filePath(table)));
    }
    ASSERT_TRUE(
        QFile::link(QString::fromStdString(card1.dir() + "/COM1"), folder.filePath("COM1")));
    ASSERT_TRUE(
        QFile::link(QString::fromStdString(card2.dir() + "/COM2"), folder.filePath("COM2")));

    // Channel 0 of each card logged every second with serial numbers.
    const std::string dir = folder.path().toStdString();
    AcquisitionState state;
    ASSERT_TRUE(RunStartUp(state, dir).ok);
    state.SaveChannel[0] = state.SaveChannel[8] = true;
    state.LogFileName = FolderFilePath(dir, "run.csv");
    state.LogIntervalChoice = state.LogIntervalUnit = state.LogStampStyle = 1;
    const std::string channelSettings = ChannelSettingsText(state);
    const std::string logSettings = LogSettingsText(state);
    ASSERT_FALSE(WriteFileAtomically(FolderFilePath(dir, kChannelSettingsFile), channelSettings));
    ASSERT_FALSE(WriteFileAtomically(FolderFilePath(dir, kLogSettingsFile), logSettings));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    // A window system that is not there: only a run that needs none gets going.
    environment.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("VANTREL_BINARY_DIR") + "/vantrel",
                  {"--headless", "--log", "--folder", folder.path()});
    const QString log = folder.filePath("run.csv");
    ASSERT_TRUE(PumpUntil([&] { return ReadText(log).count("\r\n") >= 5; }, 30000))
        << program.readAllStandardError().toStdString();

    // What the program read at start is gone; the end must write it again.
    QFile::remove(folder.filePath(kChannelSettingsFile));
    QFile::remove(folder.filePath(kLogSettingsFile));
    QElapsedTimer ending;
    ending.start();
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_LT(ending.elapsed(), 5000);
    EXPECT_EQ(program.exitCode(), 128 + SIGTERM);

    QStringList lines = ReadText(log).split("\r\n");
    EXPECT_EQ(lines.takeLast(), "");  // the last record is whole
    EXPECT_EQ(lines.takeFirst(), "SN,Channel 0,Channel 8");
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i], QString("%1,5,2.5").arg(i + 1));
    }
    EXPECT_EQ(QDir(folder.path()).entryList({"*.journal", "*-unsaved-*"}), QStringList{});
    EXPECT_EQ(ReadText(folder.filePath(kChannelSettingsFile)).toStdString(), channelSettings);
    EXPECT_EQ(ReadText(folder.filePath(kLogSettingsFile)).toStdString(), logSettings);
    for (const CardSimProcess* card : {&card1, &card2}) {
        PumpUntil([&] { return Commands(*card).endsWith("@F"); }, 3000);
        EXPECT_EQ(Commands(*card), (QStringList{"?", "@TA00", "@N", "@F"}));
    }
    const QString said = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(said.contains("vantrel: log file: " + log)) << said.toStdString();
}

}  // namespace
}  // namespace vantrel::testing
