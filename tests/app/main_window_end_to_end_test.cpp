// The real main window, serial ports, timers and card links against two
// simulated cards on pseudo-terminals: start-up, a card plugged in after the
// program started, version replies, task start, frames in the state, one box for
// a lasting conversion fault, unplugging and replugging a card with its task
// running and stopped, task stop, and the settings files written at close.
// Guards against a start pause shorter than 100 ms on the wire, commands before a
// replugged card has answered "?", and a message box for every failing frame.
#include <signal.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>
#include <vector>

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

struct Heard {
    double ms;
    QString text;
};

// The commands a simulator logged since it made its link for the given time.
std::vector<Heard> heardSince(const CardSimProcess& sim, int readyCount) {
    std::vector<Heard> heard;
    int ready = 0;
    for (const QString& line : sim.lines()) {
        if (line.startsWith("ready")) {
            ++ready;
        } else if (ready == readyCount && line.startsWith("command ")) {
            const QStringList parts = line.split(' ');
            heard.push_back({parts.value(1).toDouble(), parts.value(2)});
        }
    }
    return heard;
}

QStringList texts(const std::vector<Heard>& heard) {
    QStringList out;
    for (const Heard& h : heard) {
        out << h.text;
    }
    return out;
}

// "@TA00" then "@N" at least 100 ms later, as the card measured it.
void expectStartPair(const std::vector<Heard>& heard, std::size_t at) {
    ASSERT_GT(heard.size(), at + 1);
    EXPECT_EQ(heard[at].text, "@TA00");
    EXPECT_EQ(heard[at + 1].text, "@N");
    EXPECT_GE(heard[at + 1].ms - heard[at].ms, 100.0) << heard[at].ms;
}

TEST(MainWindowEndToEnd, TwoSimulatedCardsFromStartUpToShutDown) {
    CardSimProcess sim1;
    CardSimProcess sim2;
    ASSERT_TRUE(sim1.start(1, {"--rate", "50", "--card-version", "1.02", "--ch", "0=count:1234",
                               "--inputs", "0005", "--log-commands"}));

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
    // Card 1's slot 4 reads 4-20 mA over a range no float holds: every frame fails.
    state.InputType[4] = 2;
    state.InputRange[4] = 1e100;

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

    window.Form_Load();
    EXPECT_TRUE(state.PortOpen1);
    EXPECT_FALSE(state.PortOpen2);
    // Card 2's adapter is plugged in after the program has started.
    ASSERT_TRUE(sim2.start(
        2, {"--rate", "50", "--card-version", "2.10", "--ch", "3=count:-500", "--log-commands"}));
    ASSERT_TRUE(PumpUntil([&] { return state.CardConnected1 && state.CardConnected2; }));
    EXPECT_TRUE(state.PortOpen2);
    EXPECT_EQ(state.CardVersion1, "1.02");
    EXPECT_EQ(state.CardVersion2, "2.10");
    ASSERT_NE(window.statusWindow, nullptr);
    window.statusWindow->tmrStatus_Timer();
    EXPECT_EQ(window.statusWindow->lblStatus[0]->text(), "Card Connected. Ver.1.02");
    EXPECT_EQ(window.statusWindow->lblStatus[1]->text(), "Card Connected. Ver.2.10");
    EXPECT_EQ(window.cardLink(0).counters().analogFrames, 0u);

    window.TaskStart->trigger();
    auto frames = [&](int card) { return window.cardLink(card).counters().analogFrames; };
    ASSERT_TRUE(PumpUntil([&] {
        return frames(0) >= 3 && frames(1) >= 3 && window.cardLink(0).counters().digitalFrames >= 1;
    }));
    expectStartPair(heardSince(sim1, 1), 1);
    expectStartPair(heardSince(sim2, 1), 1);
    // Card 1 announced its fault once; closed, the box stays closed while the
    // fault lasts.
    ASSERT_EQ(dialogs.nonBlockingMessages.size(), 1u);
    EXPECT_EQ(dialogs.nonBlockingMessages[0].text, "Overflow4");
    dialogs.closeNonBlocking();
    const auto afterBox = frames(0);
    ASSERT_TRUE(PumpUntil([&] { return frames(0) >= afterBox + 10; }));
    EXPECT_EQ(dialogs.nonBlockingMessages.size(), 1u);

    // Card 1 is unplugged and plugged in again while its task runs: it answers
    // "?" before it is started again.
    sim1.signal(SIGUSR1);
    ASSERT_TRUE(sim1.waitForLine("hangup"));
    ASSERT_TRUE(PumpUntil([&] { return state.PortLost1; }));
    sim1.signal(SIGUSR2);
    ASSERT_TRUE(sim1.waitForLine("ready"));
    const auto beforeReplug = frames(0);
    ASSERT_TRUE(PumpUntil([&] { return frames(0) >= beforeReplug + 3; }));
    const std::vector<Heard> replugged = heardSince(sim1, 2);
    EXPECT_EQ(texts(replugged), (QStringList{"?", "@TA00", "@N"}));
    expectStartPair(replugged, 1);
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

    window.TaskStop->trigger();
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

    // Card 2, replugged with its task stopped, hears "?" and then "@F".
    sim2.signal(SIGUSR1);
    ASSERT_TRUE(sim2.waitForLine("hangup"));
    sim2.signal(SIGUSR2);
    ASSERT_TRUE(sim2.waitForLine("ready"));
    ASSERT_TRUE(PumpUntil([&] { return heardSince(sim2, 2).size() >= 2; }));
    PumpFor(200);
    EXPECT_EQ(texts(heardSince(sim2, 2)), (QStringList{"?", "@F"}));

    window.close();
    EXPECT_EQ(crlfLines(appDir.filePath("vtrlo.con")), 176);
    EXPECT_EQ(crlfLines(appDir.filePath("vtrls.con")), 22);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(dialogs.nonBlockingMessages.size(), 1u);
}

}  // namespace
}  // namespace vantrel::testing
