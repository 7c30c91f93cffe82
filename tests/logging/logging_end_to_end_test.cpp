// End to end with a simulated card on a pseudo-terminal and the real port, link,
// main window and files: logging moved from a file that fails to a good one must
// write there from the next tick, and at exit the records that waited must land in
// a recovery file in the start folder, with one message. Also guards the logger's
// timer reaching the logger, and the save error shown for a file no longer in use.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <fstream>
#include <sstream>

#include "app/mdiDaq.h"
#include "platform/qt/QtSerialPort.h"
#include "tests/support/CardSimProcess.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeSerialPort.h"

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
    mdiDaq window(state, cm, cm2, dialogs, clock, QtWindowTimers());
    // The splash goes at once; in the save options window the user picks the file
    // queued in the file dialog and presses OK.
    window.setModalRunner([&](QDialog& dialog) {
        if (dialog.objectName() == "frmSave") {
            Find<QAbstractButton>(dialog, "cmdSelect").click();
            Find<QAbstractButton>(dialog, "cmdOK").click();
        }
    });
    window.Form_Load();
    ASSERT_TRUE(PumpUntil([&] { return state.CardConnected1; }));
    window.TaskStart->trigger();
    ASSERT_TRUE(PumpUntil([&] { return state.ChannelValue[0] == 5.0f; }));

    // Logging, without headers and every five seconds, to a folder that is not there;
    // then to a good file.
    dialogs.saveAnswers = {sim.dir() + "/gone/run.csv", sim.dir() + "/run.csv"};
    // The logger's timer ticks at a set time of day; nothing runs the event loop
    // while logging is on, so it does not fire by itself.
    window.FileSave->trigger();
    clock.current = {2026, 12, 6, 14, 5, 9};
    Tick(window, "tmrSave");
    window.FileSave->trigger();
    clock.current = {2026, 12, 6, 14, 5, 11};
    Tick(window, "tmrSave");
    EXPECT_EQ(ReadAll(sim.dir() + "/run.csv"), "14:05:11,5\r\n");
    EXPECT_FALSE(state.SaveError);

    window.FileExit->trigger();
    const std::string recovery = sim.dir() + "/run-unsaved-20261206-140511.csv";
    EXPECT_EQ(ReadAll(recovery), "14:05:09,5\r\n");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "1 log record could not be written to " + sim.dir() +
                                            "/gone/run.csv. They were saved in " + recovery + ".");
}

}  // namespace
}  // namespace vantrel::testing
