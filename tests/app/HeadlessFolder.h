#pragma once

// A start folder for the real `vantrel --headless --log` from the build tree,
// prepared with the program's own settings writers: the shipped tables, simulated
// cards linked as COM1 and COM2, and channel 0 of each card (slots 0 and 8) logged
// every second with serial numbers into run.csv.

#include <signal.h>

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <string>

#include "settings/AppPaths.h"
#include "settings/AtomicFile.h"
#include "settings/SettingsFiles.h"
#include "settings/StartUp.h"
#include "tests/engine/Tables.h"
#include "tests/support/CardSimProcess.h"

namespace vantrel::testing {

struct HeadlessFolder {
    // The simulator's arguments for card 1, and for card 2 if it is there.
    bool prepare(const QStringList& card1, const QStringList& card2 = {}) {
        const std::string dir = folder.path().toStdString();
        CopyShippedTables(dir);
        AcquisitionState state;
        if (!plugIn(0, card1) || (!card2.isEmpty() && !plugIn(1, card2)) ||
            !RunStartUp(state, dir).ok) {
            return false;
        }
        state.SaveChannel[0] = state.SaveChannel[8] = true;
        state.LogFileName = FolderFilePath(dir, "run.csv");
        state.LogIntervalChoice = state.LogIntervalUnit = state.LogStampStyle = 1;
        channelSettings = ChannelSettingsText(state);
        logSettings = LogSettingsText(state);
        return !WriteFileAtomically(FolderFilePath(dir, kChannelSettingsFile), channelSettings) &&
               !WriteFileAtomically(FolderFilePath(dir, kLogSettingsFile), logSettings);
    }
    void start(QProcess& program) {
        program.start(qEnvironmentVariable("VANTREL_BINARY_DIR") + "/vantrel",
                      {"--headless", "--log", "--folder", folder.path()});
    }
    QString log() const { return folder.filePath("run.csv"); }
    bool logsAtLeast(qsizetype records) const {
        return PumpUntil([&] { return CrlfLines(log()).size() >= records; }, 30000);
    }
    // SIGTERM takes the orderly end: exit status 143, "@F" to card 1, no record left
    // waiting.
    void expectOrderlyEnd(QProcess& program) {
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        // Cut short by the five-second alarm instead, it would end by SIGALRM.
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitCode(), 128 + SIGTERM);
        EXPECT_TRUE(PumpUntil([&] { return card[0].commands().endsWith("@F"); }, 3000));
        EXPECT_FALSE(QFile::exists(folder.filePath("vantrel.journal")));
    }

    CardSimProcess card[2];
    QTemporaryDir folder;
    std::string channelSettings;
    std::string logSettings;

  private:
    bool plugIn(int index, const QStringList& arguments) {
        const QString port = QString("COM%1").arg(index + 1);
        return card[index].start(index + 1, arguments) &&
               QFile::link(QString::fromStdString(card[index].dir()) + "/" + port,
                           folder.filePath(port));
    }
};

}  // namespace vantrel::testing
