// End to end with a simulated card on a pseudo-terminal and the real port, link,
// main window and files: logging moved from a file that fails to a good one must
// write there from the next tick, and at exit the records that waited must land in
// a recovery file in the start folder, with one message. Also guards the save
// error shown for a file no longer in use.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <fstream>
#include <sstream>

#include "app/QtPublisher.h"
#include "app/QtRunTimers.h"
#include "app/mdiDaq.h"
#include "platform/qt/QtSerialPort.h"
#include "tests/support/CardSimProcess.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeTimer.h"

namespace vantrel::testing {
namespace {

std::string ReadAll(const std::string& path) {
    std::ostringstream contents;
    contents << std::ifstream(path, std::ios::binary).rdbuf();
    return contents.str();
}

TEST(LoggingEndToEnd, SwitchFromAFailingFileLogsAtOnceAndExitKeepsWhatWaited) {
    CardSimProcess sim;
    ASSERT_TRUE(sim.start(1, {"--rate", "50", "--ch", "0=count:16000"}));
    AcquisitionState state;
    state.AppDir = sim.dir();
    state.SaveChannel[0] = true;
    state.LogHeaders = false;
    platform::QtSerialPort cm(sim.dir());
    FakeSerialPort cm2;  // card 2 never answers
    FakeDialogs dialogs;
    FakeClock clock;
    DiskLogFileSink files;
    // The logger's tick comes at a set time of day; nothing runs the event loop
    // while logging is on, so it does not fire by itself.
    acquisition::RunTimers timers = QtRunTimers();
    timers.logTick = std::make_unique<FakeTimer>();
    FakeTimer& logTick = static_cast<FakeTimer&>(*timers.logTick);
    acquisition::Run run(state, {cm, cm2, clock, dialogs, files}, std::move(timers));
    // The splash goes at once; in the save options window the user picks the file
    // queued in the file dialog and presses OK.
    FakeTimer publishTick;
    QtPublisher publisher(state, clock, publishTick);
    mdiDaq window(state, run, publisher.get(), dialogs, clock, [&](QDialog& dialog) {
        if (dialog.objectName() == "frmSave") {
            Find<QAbstractButton>(dialog, "cmdSelect").click();
            Find<QAbstractButton>(dialog, "cmdOK").click();
        }
    });
    window.Form_Load();
    ASSERT_TRUE(PumpUntil([&] { return state.CardConnected1; }));
    Find<QAction>(window, "TaskStart").trigger();
    ASSERT_TRUE(PumpUntil([&] { return state.ChannelValue[0] == 5.0f; }));

    // Logging, without headers and every five seconds, to a folder that is not there;
    // then to a good file.
    dialogs.saveAnswers = {sim.dir() + "/gone/run.csv", sim.dir() + "/run.csv"};
    Find<QAction>(window, "FileSave").trigger();
    clock.current = {2026, 12, 6, 14, 5, 9};
    logTick.tick();
    Find<QAction>(window, "FileSave").trigger();
    clock.current = {2026, 12, 6, 14, 5, 11};
    logTick.tick();
    EXPECT_EQ(ReadAll(sim.dir() + "/run.csv"), "14:05:11,5\r\n");
    EXPECT_FALSE(state.SaveError);

    Find<QAction>(window, "FileExit").trigger();
    const std::string recovery = sim.dir() + "/run-unsaved-20261206-140511.csv";
    EXPECT_EQ(ReadAll(recovery), "14:05:09,5\r\n");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "1 log record could not be written to " + sim.dir() +
                                            "/gone/run.csv. They were saved in " + recovery + ".");
}

}  // namespace
}  // namespace vantrel::testing
