// The real `vantrel --headless --log` left to run alone: a second start in its
// folder is refused until the first is gone, even by SIGKILL; and standard error
// cannot stop it, whether it is a pipe nobody reads, a pipe whose reader went away,
// or closed with standard input and output. Guards against two programs fighting
// over one folder, a stale lock after a kill, and a run that blocks in a write,
// dies of SIGPIPE, or takes a status line for a signal.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <string>
#include <utility>

#include "settings/AppPaths.h"
#include "settings/AtomicFile.h"
#include "settings/SettingsFiles.h"
#include "settings/StartUp.h"
#include "tests/support/CardSimProcess.h"

namespace vantrel::testing {
namespace {

// A folder where channel 0 of a simulated card 1 is logged every second.
struct LoggingFolder {
    bool prepare() {
        const QString data = qEnvironmentVariable("VANTREL_SOURCE_DIR") + "/data/";
        const std::string dir = folder.path().toStdString();
        AcquisitionState state;
        if (!card.start(1, {"--rate", "20", "--log-commands"}) ||
            !QFile::copy(data + "j.tc", folder.filePath("j.tc")) ||
            !QFile::copy(data + "k.tc", folder.filePath("k.tc")) ||
            !QFile::link(QString::fromStdString(card.dir() + "/COM1"), folder.filePath("COM1")) ||
            !RunStartUp(state, dir).ok) {
            return false;
        }
        state.SaveChannel[0] = true;
        state.LogFileName = FolderFilePath(dir, "run.csv");
        state.LogIntervalChoice = state.LogIntervalUnit = 1;
        return !WriteFileAtomically(FolderFilePath(dir, kChannelSettingsFile),
                                    ChannelSettingsText(state)) &&
               !WriteFileAtomically(FolderFilePath(dir, kLogSettingsFile), LogSettingsText(state));
    }
    void start(QProcess& program) {
        program.start(qEnvironmentVariable("VANTREL_BINARY_DIR") + "/vantrel",
                      {"--headless", "--log", "--folder", folder.path()});
    }
    qsizetype records() const {
        QFile log(folder.filePath("run.csv"));
        return log.open(QIODevice::ReadOnly) ? log.readAll().count("\r\n") : 0;
    }
    bool logsAtLeast(qsizetype count) const {
        return PumpUntil([&] { return records() >= count; }, 30000);
    }
    // SIGTERM takes the orderly end: exit status 143, "@F" to the card, no record left
    // waiting.
    void expectOrderlyEnd(QProcess& program) {
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
        // Cut short by the five-second alarm instead, it would end by SIGALRM.
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitCode(), 128 + SIGTERM);
        EXPECT_TRUE(PumpUntil(
            [&] { return !card.lines().filter(QRegularExpression("^command \\S+ @F$")).empty(); },
            3000));
        EXPECT_FALSE(QFile::exists(folder.filePath("vantrel.journal")));
    }

    CardSimProcess card;
    QTemporaryDir folder;
};

TEST(OneInstance, ASecondStartInTheFolderIsRefusedUntilTheFirstIsGoneEvenByAKill) {
    LoggingFolder rig;
    ASSERT_TRUE(rig.prepare());
    QProcess first;
    rig.start(first);
    ASSERT_TRUE(rig.logsAtLeast(3));
    QProcess second;
    rig.start(second);
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_NE(second.exitCode(), 0);
    const QString said = QString::fromUtf8(second.readAllStandardError());
    EXPECT_TRUE(said.contains(QString("Another Vantrel (process %1) is running in the folder '%2'")
                                  .arg(first.processId())
                                  .arg(rig.folder.path())))
        << said.toStdString();
    // It read nothing: the first one's waiting records were not saved away.
    EXPECT_EQ(QDir(rig.folder.path()).entryList({"*-unsaved-*"}), QStringList{});

    ::kill(static_cast<pid_t>(first.processId()), SIGKILL);
    ASSERT_TRUE(first.waitForFinished(10000));
    const qsizetype logged = rig.records();
    QProcess third;
    rig.start(third);
    ASSERT_TRUE(rig.logsAtLeast(logged + 2)) << third.readAllStandardError().toStdString();
    rig.expectOrderlyEnd(third);
}

class UnattendedOutput : public ::testing::TestWithParam<std::string> {};

TEST_P(UnattendedOutput, RecordsKeepComingAndSigtermEndsInOrder) {
    LoggingFolder rig;
    ASSERT_TRUE(rig.prepare());
    int pipeEnds[2];
    ASSERT_EQ(::pipe2(pipeEnds, O_CLOEXEC), 0);
    if (GetParam() == "PipeNobodyReads") {
        // Filled before the start, so the first status line already blocks.
        ::fcntl(pipeEnds[1], F_SETFL, O_NONBLOCK);
        while (::write(pipeEnds[1], "xxxxxxxxxxxxxxxx", 16) > 0) {
        }
        ::fcntl(pipeEnds[1], F_SETFL, 0);
    } else if (GetParam() == "PipeWithoutReader") {
        ::close(std::exchange(pipeEnds[0], -1));
    }
    QProcess program;
    const int writeEnd = pipeEnds[1];
    const bool closeAll = GetParam() == "AllThreeClosed";
    program.setChildProcessModifier([writeEnd, closeAll] {
        for (int fd = 0; fd <= 2 && closeAll; ++fd) {
            ::close(fd);
        }
        if (!closeAll) {
            ::dup2(writeEnd, STDERR_FILENO);
        }
    });
    rig.start(program);
    EXPECT_TRUE(rig.logsAtLeast(5)) << program.exitCode();
    rig.expectOrderlyEnd(program);
    for (const int fd : pipeEnds) {
        ::close(fd);  // -1 once closed, which does nothing
    }
}

INSTANTIATE_TEST_SUITE_P(Headless, UnattendedOutput,
                         ::testing::Values("PipeNobodyReads", "PipeWithoutReader",
                                           "AllThreeClosed"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param;
                         });

}  // namespace
}  // namespace vantrel::testing
