// The user's path once, with the real main window, serial ports, timers and card
// links against two simulated cards on pseudo-terminals: start-up with card 2
// plugged in later, task start, the views, logging to a file, unplugging and
// replugging both cards, and exit with the settings files written.
// Guards against commands before a replugged card has answered "?", records that
// never reach the log file, and settings lost at exit. (One box per lasting
// conversion fault is the link's rule, tested with it.)
#include <signal.h>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "app/Program.h"
#include "app/QtProgramParts.h"
#include "app/frmAbout.h"
#include "platform/qt/QtSerialPort.h"
#include "tests/engine/Tables.h"
#include "tests/support/CardSimProcess.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel::testing {
namespace {

void replug(CardSimProcess& sim) {
    sim.signal(SIGUSR1);
    ASSERT_TRUE(sim.waitForLine("hangup"));
    sim.signal(SIGUSR2);
    ASSERT_TRUE(sim.waitForLine("ready"));
}

TEST(MainWindowEndToEnd, TwoSimulatedCardsFromStartUpToExit) {
    CardSimProcess sim1;
    CardSimProcess sim2;
    ASSERT_TRUE(sim1.start(1, {"--rate", "50", "--card-version", "1.02", "--ch", "0=count:1234",
                               "--inputs", "0005", "--log-commands"}));
    // A first run: only the tables in the start folder.
    QTemporaryDir appDir;
    CopyShippedTables(appDir.path().toStdString());
    FakeDialogs dialogs;
    FakeClock clock;
    clock.current = {2026, 12, 6, 14, 5, 11};
    const QString logPath = appDir.filePath("run.csv");
    DiskLogFileSink files;
    auto cardPorts = [&](int card) {
        return std::make_unique<platform::QtSerialPort>(card == 0 ? sim1.dir() : sim2.dir());
    };
    Program program(
        {appDir.path().toStdString()},
        {cardPorts, QtTimers(), clock, dialogs, files, MosquittoClients(), [&](QDialog& dialog) {
             if (qobject_cast<frmAbout*>(&dialog) == nullptr) {
                 Find<QLineEdit>(dialog, "txtFile").setText(logPath);
                 Find<QRadioButton>(dialog, "optDT").click();  // date and time stamps
                 Find<QCheckBox>(dialog, "chkHeaders").setChecked(true);
                 Find<QPushButton>(dialog, "cmdOK").click();
             }
         }});
    ASSERT_TRUE(program.built());
    AcquisitionState& state = program.state();
    mdiDaq& window = *program.window();
    program.start();
    // Card 2's adapter is plugged in after the program has started.
    ASSERT_TRUE(sim2.start(
        2, {"--rate", "50", "--card-version", "2.10", "--ch", "3=count:-500", "--log-commands"}));
    ASSERT_TRUE(PumpUntil([&] { return state.CardConnected1 && state.CardConnected2; }));

    Find<QAction>(window, "TaskStart").trigger();
    auto frames = [&](int card) { return program.run().link(card).counters().analogFrames; };
    ASSERT_TRUE(PumpUntil([&] { return frames(0) >= 3 && frames(1) >= 3; }));
    EXPECT_EQ(sim1.commands(1), (QStringList{"?", "@TA00", "@N"}));
    EXPECT_EQ(sim2.commands(1), (QStringList{"?", "@TA00", "@N"}));

    for (const char* view : {"ViewAnalogData", "ViewDigitalData", "ViewTrend"}) {
        Find<QAction>(window, view).trigger();
    }
    Tick(Find(window, "frmViewAnalogData"));
    EXPECT_NE(Find<QLabel>(window, "lblData", 0).text(), "0.00");

    // Slot 0 chosen for the log in the task manager, then File > Save.
    Find<QAction>(window, "TaskManager").trigger();
    Find<QCheckBox>(window, "chkSave", 0).setChecked(true);
    Find<QPushButton>(Find(window, "frmTaskManager"), "cmdOK").click();
    Find<QAction>(window, "FileSave").trigger();
    ASSERT_TRUE(PumpUntil([&] { return CrlfLines(logPath).size() >= 2; }));
    EXPECT_EQ(CrlfLines(logPath).value(0).toStdString(), "DATE,TIME,Channel 0");
    // 1234 counts of 32000 on the 10 V range.
    EXPECT_EQ(CrlfLines(logPath).value(1).toStdString(), "06/12/26,14:05:11,0.385625");

    // Card 1, replugged while its task runs, answers "?" before it is started again.
    replug(sim1);
    const auto beforeReplug = frames(0);
    ASSERT_TRUE(PumpUntil([&] { return frames(0) >= beforeReplug + 3; }));
    EXPECT_EQ(sim1.commands(2), (QStringList{"?", "@TA00", "@N"}));
    EXPECT_EQ(state.RawCounts[11], -500);
    // Inputs 0005: bits 0 and 2.
    EXPECT_TRUE(state.DigitalIn[0] && !state.DigitalIn[1] && state.DigitalIn[2]);

    // Card 2, replugged with its task stopped, hears "?" and then "@F".
    Find<QAction>(window, "TaskStop").trigger();
    replug(sim2);
    ASSERT_TRUE(PumpUntil([&] { return sim2.commands(2).size() >= 2; }));
    PumpFor(200);
    EXPECT_EQ(sim2.commands(2), (QStringList{"?", "@F"}));

    Find<QAction>(window, "FileExit").trigger();
    EXPECT_EQ(CrlfLines(appDir.filePath("vtrlo.con")).size(), 176);
    EXPECT_EQ(CrlfLines(appDir.filePath("vtrls.con")).size(), 22);
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace vantrel::testing
