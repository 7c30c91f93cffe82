// Guards the main window: a menu caption, order or first enabled state changed;
// the splash shown after a port opened; Start/Stop not switching or a command sent
// to the card that never answered; an "@N" after the "@F" of an exit chosen in the
// start pause, a missed "@F" or settings file at exit; a box per conversion fault;
// and a child window opened twice.
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <string>
#include <vector>

#include "tests/app/MainWindowFixture.h"
#include "tests/support/Controls.h"

namespace vantrel::testing {
namespace {

using Wire = std::vector<std::string>;
using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, MenusHoldTheirItemsInOrderWithCaptionsAndFirstStates) {
    // "-" is a separator; "!" marks an item greyed at first.
    const QStringList expected[] = {
        {"File", "Save", "Exit"},
        {"View", "Analog Data", "Digital Data", "-", "Trend", "History", "-", "Status"},
        {"Task", "Start", "!Stop", "-", "Task Manager"},
        {"Options", "Card 1 Configuration", "Card 2 Configuration", "Card Communication", "-",
         "Settings", "Card 1 Calibration", "Card 2 Calibration"},
        {"Help", "Contents", "About"},
    };
    EXPECT_EQ(window->windowTitle(), "Vantrel - 16 Channel ~ Data Acquisition Solution");
    QList<QStringList> shown;
    for (QAction* menu : window->menuBar()->actions()) {
        shown.append({QString(menu->text()).remove('&')});
        for (QAction* item : menu->menu()->actions()) {
            const QString caption = QString(item->text()).remove('&');
            shown.last() << (item->isSeparator() ? "-"
                             : item->isEnabled() ? caption
                                                 : "!" + caption);
        }
    }
    EXPECT_EQ(shown, QList<QStringList>(std::begin(expected), std::end(expected)));
    Find<QAction>(*window, "OptionsCalibrate_1").trigger();
    EXPECT_EQ(state.SelectedCard, 1);
    Find<QAction>(*window, "OptionsCardConfig_0").trigger();
    EXPECT_EQ(state.SelectedCard, 0);
}

TEST_F(MainWindowTest, SplashComesBeforeThePortsAndOnlyAnOpenPortIsAsked) {
    state.ComPort1 = 3;
    state.ComPort2 = 4;
    cm2.openSucceeds = false;
    window->Form_Load();
    EXPECT_EQ(modalRuns, 1);
    EXPECT_FALSE(splashSeenVisibleMainWindow);
    EXPECT_EQ(splashSeenOpenAttempts, 0);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(cm.number, 3);
    EXPECT_EQ(cm2.number, 4);
    EXPECT_EQ(cm.sent, Wire{"?\r"});
    EXPECT_TRUE(cm2.sent.empty());
    EXPECT_EQ(Find<QLabel>(*window, "lblFault", 1).text(), "COM not found");
    EXPECT_EQ(Find<QTimer>(*window, "tmrSave").interval(), 1000);
}

TEST_F(MainWindowTest, StartAndStopSwitchTheMenuAndReachOnlyTheAnsweringCard) {
    window->Form_Load();
    cm.sent.clear();
    cm2.sent.clear();
    cm2.receive("V1.02\r");
    QAction& start = Find<QAction>(*window, "TaskStart");
    QAction& stop = Find<QAction>(*window, "TaskStop");
    start.trigger();
    EXPECT_FALSE(start.isEnabled());
    EXPECT_TRUE(stop.isEnabled());
    EXPECT_EQ(cm2.sent, Wire{"@TA00\r"});
    delay->tick();
    stop.trigger();
    EXPECT_EQ(cm2.sent, (Wire{"@TA00\r", "@N\r", "@F\r"}));
    EXPECT_TRUE(cm.sent.empty());
    EXPECT_TRUE(start.isEnabled());
    EXPECT_FALSE(stop.isEnabled());
}

TEST_F(MainWindowTest, ExitInTheStartPauseStopsEveryOpenPortForGoodAndWritesTheSettings) {
    window->Form_Load();
    state.CardConnected1 = true;
    cm.sent.clear();
    cm2.sent.clear();
    Find<QAction>(*window, "TaskStart").trigger();
    Find<QAction>(*window, "FileExit").trigger();
    delay->tick();
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(cm.sent, (Wire{"@TA00\r", "@F\r"}));
    EXPECT_EQ(cm2.sent, Wire{"@F\r"});  // its card never answered
    EXPECT_TRUE(QFile::exists(folder.filePath("vtrlo.con")));
    EXPECT_TRUE(QFile::exists(folder.filePath("vtrls.con")));
}

TEST_F(MainWindowTest, AFolderThatCannotBeWrittenIsReportedForEachSettingsFile) {
    state.AppDir = folder.filePath("missing").toStdString();
    window->close();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[0].text.find("vtrlo.con"), std::string::npos);
    EXPECT_NE(dialogs.messages[1].text.find("vtrls.con"), std::string::npos);
}

TEST_F(MainWindowTest, ConversionFaultsShowOneBoxAtATimeWhichMayOutliveTheWindow) {
    window->ShowConversionFailure({ConversionFailure::Kind::DivisionByZero, 3});
    window->ShowConversionFailure({ConversionFailure::Kind::Overflow, 4});
    ASSERT_EQ(dialogs.nonBlockingMessages.size(), 1u);
    EXPECT_EQ(dialogs.nonBlockingMessages[0].title, "Vantrel");
    dialogs.closeNonBlocking();
    window->ShowConversionFailure({ConversionFailure::Kind::Overflow, 4});
    EXPECT_EQ(dialogs.nonBlockingMessages.size(), 2u);
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
    flushDeletes();
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 1);
    Find<QAction>(*window, "TaskManager").trigger();
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 2);
}

TEST_F(MainWindowTest, AboutBoxDoesNotBlockAndClosesItselfAfterTwoSeconds) {
    Find<QAction>(*window, "HelpAbout").trigger();
    QPointer<QWidget> about = &Find(*window, "frmAbout");
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(modalRuns, 0);
    EXPECT_EQ(Find<QTimer>(*about, "Timer1").interval(), 2000);
    Tick(*about, "Timer1");
    flushDeletes();
    EXPECT_EQ(about, nullptr);
}

}  // namespace
}  // namespace vantrel::testing
