// Guards the main window: a menu caption, order or first enabled state changed;
// the splash shown after a port opened; Start/Stop not switching or a command sent
// to the card that never answered; an "@N" after the "@F" of an exit chosen in the
// start pause, a missed "@F" or settings file at exit; a signal during the splash
// that leaves the program hanging; a box per conversion fault;
// a child window opened twice; and the port dialog's list off by one, vtrl.con not written in its
// print style, or one port accepted for both cards. A shortcut that does not reach
// its item; the Window menu's list, tile and close; Exit while logging that asks
// not, twice or when a signal ends the run; a chart or list opening at its design
// size, or a window past the frame's edge at 1280x800.
#include <signal.h>

#include <deque>
#include <fstream>

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "app/CascadePlacement.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/Controls.h"

namespace vantrel::testing {
namespace {

using Wire = std::vector<std::string>;
using MainWindowTest = MainWindowFixture;

TEST_F(MainWindowTest, MenusHoldTheirItemsInOrderWithCaptionsAndFirstStates) {
    // "-" is a separator; "!" marks an item greyed at first.
    const QString expected =
        "File: Open Log... Save Exit|View: Analog Data Digital Data - Trend History Alarms - "
        "Status|Task: Start !Stop - Task Manager Add Marker...|Options: Card 1 Configuration Card "
        "2 Configuration "
        "Card Communication - Settings Card 1 Calibration Card 2 Calibration|Window: !Cascade "
        "!Tile "
        "!Close !Close All -|Help: Contents About|";
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
}

TEST_F(MainWindowTest, SplashComesBeforeThePortsAndOnlyAnOpenPortIsAsked) {
    state().ComPort1 = 3;
    state().ComPort2 = 4;
    cm2->openSucceeds = false;
    startProgram();
    EXPECT_EQ(modalRuns, 1);
    EXPECT_FALSE(splashSeenVisibleMainWindow);
    EXPECT_EQ(splashSeenOpenAttempts, 0);
    EXPECT_EQ((std::pair{cm->number, cm2->number}), (std::pair{3, 4}));
    EXPECT_EQ(cm->sent, Wire{"?\r"});
    EXPECT_TRUE(cm2->sent.empty());
    EXPECT_EQ(Find<QLabel>(*window, "lblFault", 1).text(), "COM not found");
}

// Ended there as later: at once, with the signal's exit code, no port opened.
TEST_F(MainWindowTest, ASignalDuringTheSplashEndsTheProgramThere) {
    splash = [] {
        ::raise(SIGTERM);
        QCoreApplication::processEvents();
    };
    EXPECT_EQ(program->start(), 128 + SIGTERM);
    EXPECT_TRUE(run->ended());
    EXPECT_EQ(cm->openAttempts + cm2->openAttempts, 0);
}

TEST_F(MainWindowTest, StartAndStopSwitchTheirItemsAndExitEndsTheRun) {
    startProgram();
    cm2->receive("V1.02\r");
    cm->sent.clear();
    cm2->sent.clear();
    QAction& start = Find<QAction>(*window, "TaskStart");
    QAction& stop = Find<QAction>(*window, "TaskStop");
    start.trigger();
    EXPECT_FALSE(start.isEnabled() || !stop.isEnabled());
    timers["tmrDelay"].tick();
    stop.trigger();
    EXPECT_TRUE(start.isEnabled() && !stop.isEnabled());
    choose("FileExit");
    EXPECT_TRUE(run->ended());
    EXPECT_EQ(cm2->sent, (Wire{"@TA00\r", "@N\r", "@F\r", "@F\r"}));
}

TEST_F(MainWindowTest, AChildWindowOpensOnceAndClosingItFreesItsPlace) {
    window->show();
    for (const char* item : {"ViewStatus", "TaskManager", "ViewStatus"}) {
        Find<QAction>(*window, item).trigger();
    }
    EXPECT_EQ(Find<QMdiArea>(*window, "mdiArea").subWindowList().size(), 2);
    EXPECT_EQ(Find<QMdiArea>(*window, "mdiArea").activeSubWindow()->widget(),
              &Find(*window, "frmStatus"));
    Find<QPushButton>(Find(*window, "frmTaskManager"), "cmdCancel").click();
    flushDeletes();
    Find<QAction>(*window, "TaskManager").trigger();
    EXPECT_EQ(Find<QMdiArea>(*window, "mdiArea").subWindowList().size(), 2);
}

TEST_F(MainWindowTest, PortDialogWritesThePortFileConnectsAtOnceButNeverOnePortForBothCards) {
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
    // Connect stores the choice and opens the new ports at once.
    Find<QPushButton>(dialog, "cmdConnect").click();
    EXPECT_EQ((std::pair{cm->number, cm2->number}), (std::pair{3, 14}));
    Find<QPushButton>(dialog, "cmdOK").click();
    EXPECT_EQ(startFolderFile("vtrl.con"), " 3 \r\n 14 \r\n");
}

// Stands in for the desktop's browser.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
    Q_INVOKABLE void open(const QUrl& url) { opened.append(url); }
};

TEST_F(MainWindowTest, HelpContentsOpensTheManualOfThisTreeInTheBrowser) {
    UrlCatcher browser;
    QDesktopServices::setUrlHandler("file", &browser, "open");
    Find<QAction>(*window, "HelpContents").trigger();
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(browser.opened.size(), 1);
    const QFileInfo manual(browser.opened[0].toLocalFile());
    EXPECT_EQ(manual.absoluteFilePath(),
              QFileInfo(qEnvironmentVariable("VANTREL_SOURCE_DIR") + "/docs/manual.html")
                  .canonicalFilePath());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(MainWindowTest, EachShortcutTriggersItsItem) {
    UrlCatcher browser;
    QDesktopServices::setUrlHandler("file", &browser, "open");
    startProgram();
    cm2->receive("V1.02\r");
    QApplication::setActiveWindow(window);
    const std::pair<QKeyCombination, const char*> keys[] = {{Qt::CTRL | Qt::Key_O, "FileOpenLog"},
                                                            {Qt::CTRL | Qt::Key_S, "FileSave"},
                                                            {Qt::Key_F5, "TaskStart"},
                                                            {Qt::SHIFT | Qt::Key_F5, "TaskStop"},
                                                            {Qt::Key_F1, "HelpContents"},
                                                            {Qt::CTRL | Qt::Key_F4, "WindowClose"},
                                                            {Qt::CTRL | Qt::Key_Q, "FileExit"}};
    for (const auto& [key, item] : keys) {
        QSignalSpy triggered(&Find<QAction>(*window, item), &QAction::triggered);
        QTest::keyClick(window, key.key(), key.keyboardModifiers());
        EXPECT_EQ(triggered.count(), 1) << item;
    }
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_TRUE(Find<QMdiArea>(*window, "mdiArea").subWindowList().isEmpty());
    EXPECT_TRUE(run->ended());
}

TEST_F(MainWindowTest, WindowMenuListsTheOpenWindowsAndTilesAndClosesThem) {
    window->resize(1280, 800);
    window->show();
    for (const char* item : {"ViewStatus", "TaskManager", "ViewAlarms"}) {
        choose(item);
    }
    auto& area = Find<QMdiArea>(*window, "mdiArea");
    emit Find<QMenu>(*window, "Window").aboutToShow();
    QStringList listed;
    for (int k = 0; k < 3; ++k) {
        QAction& item = Find<QAction>(*window, "WindowList", k);
        listed << item.text() + (item.isChecked() ? "*" : "");
    }
    EXPECT_EQ(listed.join(", "), "&1 Card Status, &2 Task Manager, &3 Alarms*");
    choose("WindowList_0");
    EXPECT_EQ(area.activeSubWindow()->widget(), &Find(*window, "frmStatus"));
    choose("WindowTile");
    const QList<QMdiSubWindow*> frames = area.subWindowList();
    for (QMdiSubWindow* frame : frames) {
        EXPECT_TRUE(area.viewport()->rect().contains(frame->geometry()))
            << frame->windowTitle().toStdString();
        EXPECT_FALSE(frame->geometry().intersects(frames[0]->geometry()) && frame != frames[0]);
    }
    choose("WindowCloseAll");
    flushDeletes();
    EXPECT_TRUE(area.subWindowList().isEmpty());
}

// Logging wins over publishing in the question; a signal ends the run unasked.
TEST_F(MainWindowTest, ExitWhileLoggingAsksOnceAndCancelKeepsItRunning) {
    const struct {
        bool logging;
        bool publishing;
        std::deque<bool> answers;
        bool bySignal;
        std::size_t asked;
        bool ended;
    } cases[] = {{false, false, {}, false, 0, true},
                 {true, true, {false}, false, 1, false},
                 {true, false, {true}, false, 1, true},
                 {true, true, {}, true, 0, true}};
    for (const auto& c : cases) {
        std::ofstream(folder.filePath("vantrel.ini").toStdString())
            << "[mqtt]\nenabled=" << (c.publishing ? "true" : "false") << "\n";
        makeWindow();
        startProgram();
        state().Saving = c.logging;
        dialogs.questions.clear();
        dialogs.confirmAnswers = c.answers;
        if (c.bySignal) {
            ::raise(SIGTERM);
            QCoreApplication::processEvents();
        } else {
            choose("FileExit");
        }
        ASSERT_EQ(dialogs.questions.size(), c.asked) << c.logging << c.bySignal;
        EXPECT_EQ(run->ended(), c.ended) << c.logging << c.bySignal;
        if (c.asked > 0) {
            EXPECT_EQ(dialogs.questions[0].text, "Logging is on: stop and exit?");
            EXPECT_EQ(dialogs.questions[0].proceedCaption, "Exit");
        }
    }
}

TEST_F(MainWindowTest, AChartAndTheAlarmListTakeAShareOfTheFrameAndFormsKeepTheirSize) {
    window->resize(1280, 800);
    window->show();
    auto& area = Find<QMdiArea>(*window, "mdiArea");
    for (const char* item : {"ViewStatus", "ViewTrend", "ViewAlarms", "TaskManager"}) {
        choose(item);
    }
    const QSize room = area.viewport()->size();
    for (QMdiSubWindow* frame : area.subWindowList()) {
        EXPECT_TRUE(area.viewport()->rect().contains(frame->geometry()))
            << frame->windowTitle().toStdString();
        const bool grows = frame->widget()->objectName() == "frmTrend" ||
                           frame->widget()->objectName() == "frmAlarms";
        EXPECT_EQ(frame->size(),
                  grows ? QSize(room.width() * 3 / 4, room.height() * 3 / 4) : frame->sizeHint())
            << frame->windowTitle().toStdString();
    }
}

}  // namespace
}  // namespace vantrel::testing

#include "main_window_test.moc"
