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
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <ostream>

#include "settings/AppPaths.h"
#include "settings/AtomicFile.h"
#include "settings/SettingsFiles.h"
#include "settings/StartUp.h"
#include "tests/support/CardSimProcess.h"

namespace vantrel::testing {
namespace {

qsizetype LogLines(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().count("\r\n") : 0;
}

// A folder where channel 0 of a simulated card 1 is logged every second.
class LoggingFolder {
  public:
    bool prepare() {
        if (!card.start(1, {"--rate", "20", "--log-commands"})) {
            return false;
        }
        const QString data = qEnvironmentVariable("VANTREL_SOURCE_DIR") + "/data/";
        for (const char* table : {"j.tc", "k.tc"}) {
            QFile::copy(data + table, folder.filePath(table));
        }
        QFile::link(QString::fromStdString(card.dir() + "/COM1"), folder.filePath("COM1"));
        const std::string dir = folder.path().toStdString();
        AcquisitionState state;
        if (!RunStartUp(state, dir).ok) {
            return false;
        }
        state.SaveChannel[0] = true;
        state.LogFileName = FolderFilePath(dir, "run.csv");
        state.LogIntervalChoice = state.LogIntervalUnit = 1;
        return !WriteFileAtomically(FolderFilePath(dir, kChannelSettingsFile),
                                    ChannelSettingsText(state)) &&
               !WriteFileAtomically(FolderFilePath(dir, kLogSettingsFile), LogSettingsText(state));
    }

    // The program in this folder; childSetup runs in the child just before it starts.
    void start(QProcess& program, bool log, std::function<void()> childSetup = {}) {
        if (childSetup) {
            program.setChildProcessModifier(std::move(childSetup));
        }
        QStringList arguments{"--headless", "--folder", folder.path()};
        if (log) {
            arguments << "--log";
        }
        program.start(qEnvironmentVariable("VANTREL_BINARY_DIR") + "/vantrel", arguments);
    }

    QString log() const { return folder.filePath("run.csv"); }

    CardSimProcess card;
    QTemporaryDir folder;
};

// SIGTERM takes the orderly end: exit status 143, "@F" to the card, every waiting
// record written.
void ExpectOrderlyEnd(LoggingFolder& rig, QProcess& program) {
    QElapsedTimer ending;
    ending.start();
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(10000));
    ::testing::Test::RecordProperty("sigterm_end_ms", std::to_string(ending.elapsed()));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 128 + SIGTERM);
    EXPECT_TRUE(PumpUntil(
        [&] {
            const QStringList& lines = rig.card.lines();
            return std::any_of(lines.begin(), lines.end(), [](const QString& line) {
                return line.startsWith("command ") && line.section(' ', 2) == "@F";
            });
        },
        3000));
    EXPECT_FALSE(QFile::exists(rig.folder.filePath("vantrel.journal")));
}

TEST(OneInstance, ASecondStartInTheFolderIsRefusedUntilTheFirstIsGoneEvenByAKill) {
    LoggingFolder rig;
    ASSERT_TRUE(rig.prepare());
    QProcess first;
    rig.start(first, true);
    ASSERT_TRUE(PumpUntil([&] { return LogLines(rig.log()) >= 3; }, 30000));

    QProcess second;
    rig.start(second, true);
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
    const qsizetype logged = LogLines(rig.log());
    QProcess third;
    rig.start(third, true);
    ASSERT_TRUE(PumpUntil([&] { return LogLines(rig.log()) >= logged + 2; }, 30000))
        << third.readAllStandardError().toStdString();
    ExpectOrderlyEnd(rig, third);
}

struct StandardErrorCase {
    const char* name;
    // Makes the pipe (or nothing); returns the descriptors to close afterwards.
    std::function<std::vector<int>(std::function<void()>& childSetup)> arrange;
};

void PrintTo(const StandardErrorCase& c, std::ostream* out) {
    *out << c.name;
}

class UnattendedOutput : public ::testing::TestWithParam<StandardErrorCase> {};

TEST_P(UnattendedOutput, RecordsKeepComingAndSigtermEndsInOrder) {
    LoggingFolder rig;
    ASSERT_TRUE(rig.prepare());
    std::function<void()> childSetup;
    const std::vector<int> toClose = GetParam().arrange(childSetup);
    QProcess program;
    rig.start(program, true, childSetup);
    const bool logging = PumpUntil([&] { return LogLines(rig.log()) >= 5; }, 30000);
    for (const int fd : toClose) {
        ::close(fd);
    }
    ASSERT_TRUE(logging) << program.exitCode();
    ExpectOrderlyEnd(rig, program);
}

std::vector<int> StderrOnPipe(std::function<void()>& childSetup, bool stalled) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return {};
    }
    if (stalled) {
        // Filled before the start, the first status line already blocks.
        ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
        const std::string filler(4096, 'x');
        while (::write(ends[1], filler.data(), filler.size()) > 0) {
        }
        ::fcntl(ends[1], F_SETFL, 0);
    } else {
        ::close(ends[0]);
        ends[0] = -1;
    }
    const int writeEnd = ends[1];
    childSetup = [writeEnd] { ::dup2(writeEnd, STDERR_FILENO); };
    return stalled ? std::vector<int>{ends[0], ends[1]} : std::vector<int>{ends[1]};
}

INSTANTIATE_TEST_SUITE_P(
    StandardError, UnattendedOutput,
    ::testing::Values(
        StandardErrorCase{"PipeNobodyReads",
                          [](std::function<void()>& setup) { return StderrOnPipe(setup, true); }},
        StandardErrorCase{"PipeWithoutReader",
                          [](std::function<void()>& setup) { return StderrOnPipe(setup, false); }},
        StandardErrorCase{"AllThreeClosed",
                          [](std::function<void()>& setup) {
                              setup = [] {
                                  for (int fd = 0; fd <= 2; ++fd) {
                                      ::close(fd);
                                  }
                              };
                              return std::vector<int>{};
                          }}),
    [](const ::testing::TestParamInfo<StandardErrorCase>& info) { return info.param.name; });

}  // namespace
}  // namespace vantrel::testing
