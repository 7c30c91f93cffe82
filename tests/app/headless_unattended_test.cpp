// The real `vantrel --headless --log` left to run alone: a second start in its
// folder is refused until the first is gone, even by SIGKILL; and standard error
// cannot stop it, whether it is a pipe nobody reads, a pipe whose reader went away,
// or closed with standard input and output. Guards against two programs fighting
// over one folder, a stale lock after a kill, a start that fails saying so twice,
// and a run that blocks in a write, dies of SIGPIPE, or takes a status line for a
// signal.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>
#include <utility>

#include "tests/app/HeadlessFolder.h"

namespace vantrel::testing {
namespace {

const QStringList kCard = {"--rate", "20", "--log-commands"};

TEST(OneInstance, ASecondStartInTheFolderIsRefusedUntilTheFirstIsGoneEvenByAKill) {
    HeadlessFolder rig;
    ASSERT_TRUE(rig.prepare(kCard));
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
    const qsizetype logged = CrlfLines(rig.log()).size();
    QProcess third;
    rig.start(third);
    ASSERT_TRUE(rig.logsAtLeast(logged + 2)) << third.readAllStandardError().toStdString();
    rig.expectOrderlyEnd(third);
}

TEST(OneInstance, AStartThatCannotReadItsTablesSaysWhyOnceAndEnds) {
    HeadlessFolder rig;
    QProcess program;
    rig.start(program);
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 1);
    const QString said = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(said.count("j.tc was not found in " + rig.folder.path()), 1) << said.toStdString();
}

class UnattendedOutput : public ::testing::TestWithParam<std::string> {};

TEST_P(UnattendedOutput, RecordsKeepComingAndSigtermEndsInOrder) {
    HeadlessFolder rig;
    ASSERT_TRUE(rig.prepare(kCard));
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
