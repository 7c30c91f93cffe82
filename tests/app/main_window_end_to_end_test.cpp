// The real main window, serial ports and card links against two simulated cards
// on pseudo-terminals: start-up, version replies, task start, frames in the
// state, task stop, and the settings files written at close.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "app/frmAbout.h"
#include "app/frmStatus.h"
#include "app/mdiDaq.h"
#include "engine/StartUp.h"
#include "platform/qt/QtSerialPort.h"
#include "tests/support/CardSimProcess.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel::testing {
namespace {

int crlfLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    return static_cast<int>(file.readAll().count("\r\n"));
}

TEST(MainWindowEndToEnd, TwoSimulatedCardsFromStartUpToShutDown) {
    CardSimProcess sim1;
    CardSimProcess sim2;
    ASSERT_TRUE(sim1.start(
        1, {"--rate", "50", "--card-version", "1.02", "--ch", "0=count:1234", "--inputs", "0005"}));
    ASSERT_TRUE(sim2.start(2, {"--rate", "50", "--card-version", "2.10", "--ch", "3=count:-500"}));

    // A first run: only the tables in the start folder.
    QTemporaryDir appDir;
    ASSERT_TRUE(appDir.isValid());
    const QString data = QString::fromLocal8Bit(std::getenv("VANTREL_SOURCE_DIR")) + "/data/";
    for (const char* table : {"j.tc", "k.tc"}) {
        ASSERT_TRUE(QFile::copy(data + table, appDir.filePath(table)));
    }
    AcquisitionState state;
    const StartUpResult started = RunStartUp(state, appDir.path().toStdString());
    ASSERT_TRUE(started.ok) << started.error;
    ASSERT_EQ(state.ComPort1, 1);
    ASSERT_EQ(state.ComPort2, 2);
    EXPECT_FALSE(QFile::exists(appDir.filePath("vtrls.con")));

    // Each simulator links its COMn in its own folder.
    platform::QtSerialPort cm(sim1.dir());
    platform::QtSerialPort cm2(sim2.dir());
    FakeDialogs dialogs;
    FakeClock clock;
    mdiDaq window(state, cm, cm2, dialogs, clock);
    window.setModalRunner([](QDialog& dialog) {
        if (auto* about = qobject_cast<frmAbout*>(&dialog)) {
            about->Timer1_Timer();
        }
    });
    window.setDelayWait([&] {
        QCoreApplication::processEvents();
        window.tmrDelay_Timer();
    });

    window.Form_Load();
    EXPECT_TRUE(state.PortOpen1);
    EXPECT_TRUE(state.PortOpen2);
    ASSERT_TRUE(PumpUntil([&] { return state.CardConnected1 && state.CardConnected2; }));
    EXPECT_EQ(state.CardVersion1, "1.02");
    EXPECT_EQ(state.CardVersion2, "2.10");
    ASSERT_NE(window.statusWindow, nullptr);
    window.statusWindow->tmrStatus_Timer();
    EXPECT_EQ(window.statusWindow->lblStatus[0]->text(), "Card Connected. Ver.1.02");
    EXPECT_EQ(window.statusWindow->lblStatus[1]->text(), "Card Connected. Ver.2.10");
    EXPECT_EQ(window.cardLink(0).counters().analogFrames, 0u);

    window.TaskStart_Click();
    auto frames = [&](int card) { return window.cardLink(card).counters().analogFrames; };
    ASSERT_TRUE(PumpUntil([&] {
        return frames(0) >= 3 && frames(1) >= 3 && window.cardLink(0).counters().digitalFrames >= 1;
    }));
    EXPECT_TRUE(state.TaskRunning1);
    EXPECT_TRUE(state.TaskRunning2);
    EXPECT_EQ(state.RawCounts[0], 1234);
    EXPECT_EQ(state.RawCounts[11], -500);
    EXPECT_EQ(state.AnalogFrame2.size(), 62u);
    EXPECT_TRUE(state.DigitalIn[0]);
    EXPECT_FALSE(state.DigitalIn[1]);
    EXPECT_TRUE(state.DigitalIn[2]);
    window.statusWindow->tmrStatus_Timer();
    EXPECT_EQ(window.statusWindow->lblTask[1]->text(), "Task Running");

    window.TaskStop_Click();
    EXPECT_FALSE(state.TaskRunning1);
    // Frames already on their way still arrive; after that the cards fall quiet,
    // whereas a card still streaming at 50 frames a second never would.
    bool quiet = false;
    for (int attempt = 0; attempt < 10 && !quiet; ++attempt) {
        const auto before = frames(0) + frames(1);
        PumpFor(300);
        quiet = frames(0) + frames(1) == before;
    }
    EXPECT_TRUE(quiet);

    window.close();
    EXPECT_EQ(crlfLines(appDir.filePath("vtrlo.con")), 176);
    EXPECT_EQ(crlfLines(appDir.filePath("vtrls.con")), 22);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.nonBlockingMessages.empty());
}

}  // namespace
}  // namespace vantrel::testing
