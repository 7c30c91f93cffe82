// Guards the main window: a menu caption, order or first enabled state changed;
// the splash shown after a port opened; Start/Stop not switching or a command sent
// to the card that never answered; an "@N" after the "@F" of an exit chosen in the
// start pause, a missed "@F" or settings file at exit; a box per conversion fault;
// a child window opened twice; the card menus choosing the wrong card; and the
// port dialog's list off by one, vtrl.con not written in its print style, or
// one port accepted for both cards.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

#include "tests/app/MainWindowFixture.h"
#include "tests/support/Controls.h"

namespace vantrel::testing {
namespace {

using Wire = std::vector<std::string>;
using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, MenusHoldTheirItemsInOrderWithCaptionsAndFirstStates) {
    // "-" is a separator; "!" marks an item greyed at first.
    const QString expected =
        "File: Open Log... Save Exit|View: Analog Data Digital Data - Trend History - Status|"
        "Task: Start !Stop - Task Manager|Options: Card 1 Configuration Card 2 Configuration "
        "Card Communication - Settings Card 1 Calibration Card 2 Calibration|Help: Contents About|";
    QString shown;
    for (QAction* menu : window->menuBar()->actions()) {
        shown += menu->text() + ":";
        for (QAction* item : menu->menu()->actions()) {
            shown += item->isSeparator() ? " -" : (item->isEnabled() ? " " : " !") + item->text();
        }
        shown += "|";
    }
    EXPECT_EQ(shown.remove('&'), expected);
    EXPECT_EQ(window->windowTitle(), "Vantrel - 16 Channel ~ Data Acquisition Solution");
    Find<QAction>(*window, "OptionsCalibrate_1").trigger();
    EXPECT_EQ(state.SelectedCard, 1);
}

TEST_F(MainWindowTest, SplashComesBeforeThePortsAndOnlyAnOpenPortIsAsked) {
    state.ComPort1 = 3;
    state.ComPort2 = 4;
    cm2.openSucceeds = false;
    window->Form_Load();
    EXPECT_EQ(modalRuns, 1);
    EXPECT_FALSE(splashSeenVisibleMainWindow);
    EXPECT_EQ(splashSeenOpenAttempts, 0);
    EXPECT_EQ((std::pair{cm.number, cm2.number}), (std::pair{3, 4}));
    EXPECT_EQ(cm.sent, Wire{"?\r"});
    EXPECT_TRUE(cm2.sent.empty());
    EXPECT_EQ(Find<QLabel>(*window, "lblFault", 1).text(), "COM not found");
}

TEST_F(MainWindowTest, StartStopAndExitReachOnlyTheAnsweringCardAndStopEveryOpenPort) {
    window->Form_Load();
    cm.sent.clear();
    cm2.sent.clear();
    cm2.receive("V1.02\r");
    QAction& start = Find<QAction>(*window, "TaskStart");
    QAction& stop = Find<QAction>(*window, "TaskStop");
    start.trigger();
    EXPECT_FALSE(start.isEnabled() || !stop.isEnabled());
    delay->tick();
    stop.trigger();
    EXPECT_TRUE(start.isEnabled() && !stop.isEnabled());
    // Exit chosen in the next start pause: the pause's "@N" must not follow the "@F".
    start.trigger();
    Find<QAction>(*window, "FileExit").trigger();
    delay->tick();
    EXPECT_EQ(cm2.sent, (Wire{"@TA00\r", "@N\r", "@F\r", "@TA00\r", "@F\r"}));
    EXPECT_EQ(cm.sent, Wire{"@F\r"});  // its card never answered, yet its port is open
    EXPECT_TRUE(QFile::exists(folder.filePath("vtrlo.con")));
    EXPECT_TRUE(QFile::exists(folder.filePath("vtrls.con")));
}

TEST_F(MainWindowTest, ConversionFaultsShowOneBoxAtATimeWhichMayOutliveTheWindow) {
    window->ShowConversionFailure({ConversionFailure::Kind::DivisionByZero, 3});
    window->ShowConversionFailure({ConversionFailure::Kind::Overflow, 4});
    ASSERT_EQ(dialogs.nonBlockingMessages.size(), 1u);
    window.reset();
    dialogs.closeNonBlocking();  // must not reach the deleted window
}

TEST_F(MainWindowTest, AChildWindowOpensOnceAndClosingItFreesItsPlace) {
    window->show();
    for (const char* item : {"ViewStatus", "TaskManager", "ViewStatus"}) {
        Find<QAction>(*window, item).trigger();
    }
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(window->mdiArea()->activeSubWindow()->widget(), &Find(*window, "frmStatus"));
    Find<QPushButton>(Find(*window, "frmTaskManager"), "cmdCancel").click();
    flushDeletes();
    Find<QAction>(*window, "TaskManager").trigger();
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 2);
}

TEST_F(MainWindowTest, PortDialogWritesThePortFileButNeverOnePortForBothCards) {
    Find<QAction>(*window, "OptionsCardComm").trigger();
    QWidget& dialog = Find(*window, "frmCardComm");
    auto& card1 = Find<QComboBox>(dialog, "cmbComm", 0);
    EXPECT_EQ(card1.itemText(0) + card1.itemText(254) + card1.itemText(255), "COM 1COM 255");
    card1.setCurrentIndex(2);
    Find<QComboBox>(dialog, "cmbComm", 1).setEditText("COM 3");
    Find<QPushButton>(dialog, "cmdOK").click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("card 2"), std::string::npos);
    Find<QComboBox>(dialog, "cmbComm", 1).setEditText("COM 14");
    Find<QPushButton>(dialog, "cmdOK").click();
    QFile file(folder.filePath("vtrl.con"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), " 3 \r\n 14 \r\n");
}

}  // namespace
}  // namespace vantrel::testing
