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

// Logging wins over publishing in the question.
TEST_F(MainWindowTest, ExitWhileLoggingAsksOnceAndCancelKeepsItRunning) {
    std::ofstream(folder.filePath("vantrel.ini").toStdString()) << "[mqtt]\nenabled=true\n";
    makeWindow();
    startProgram();
    state().Saving = true;
    dialogs.confirmAnswers = {false, true};
    choose("FileExit");
    EXPECT_FALSE(run->ended());
    choose("FileExit");
    EXPECT_TRUE(run->ended());
    ASSERT_EQ(dialogs.questions.size(), 2u) << "once each time";
    EXPECT_EQ(dialogs.questions[1].text, "Logging is on: stop and exit?");
    EXPECT_EQ(dialogs.questions[1].proceedCaption, "Exit");
}

// Start and Stop switch their items; Exit ends the run with the stop commands.
TEST_F(MainWindowTest, EachShortcutTriggersItsItemAndExitEndsTheRun) {
    UrlCatcher browser;
    QDesktopServices::setUrlHandler("file", &browser, "open");
    startProgram();
    cm2->receive("V1.02\r");
    cm2->sent.clear();
    QApplication::setActiveWindow(window);
    QAction& start = Find<QAction>(*window, "TaskStart");
    QAction& stop = Find<QAction>(*window, "TaskStop");
    const std::pair<QKeyCombination, QAction*> keys[] = {
        {Qt::Key_F5, &start},
        {Qt::SHIFT | Qt::Key_F5, &stop},
        {Qt::CTRL | Qt::Key_O, &Find<QAction>(*window, "FileOpenLog")},
        {Qt::CTRL | Qt::Key_S, &Find<QAction>(*window, "FileSave")},
        {Qt::Key_F1, &Find<QAction>(*window, "HelpContents")},
        {Qt::CTRL | Qt::Key_F4, &Find<QAction>(*window, "WindowClose")},
        {Qt::CTRL | Qt::Key_Q, &Find<QAction>(*window, "FileExit")}};
    for (const auto& [key, item] : keys) {
        QSignalSpy triggered(item, &QAction::triggered);
        QTest::keyClick(window, key.key(), key.keyboardModifiers());
        EXPECT_EQ(triggered.count(), 1) << item->objectName().toStdString();
        if (item == &start) {
            EXPECT_FALSE(start.isEnabled() || !stop.isEnabled());
            timers["tmrDelay"].tick();
        } else if (item == &stop) {
            EXPECT_TRUE(start.isEnabled() && !stop.isEnabled());
        }
    }
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_TRUE(Find<QMdiArea>(*window, "mdiArea").subWindowList().isEmpty());
    EXPECT_TRUE(run->ended());
    EXPECT_EQ(cm2->sent, (Wire{"@TA00\r", "@N\r", "@F\r", "@F\r"}));
}

// A second choice brings the open window to the front; one closed opens anew. A
// chart or list takes three quarters of the frame, a form its design size, all
// inside the frame at 1280x800.
TEST_F(MainWindowTest, ChildWindowsOpenOnceInsideTheFrameAndTheWindowMenuListsTilesAndClosesThem) {
    window->resize(1280, 800);
    window->show();
    for (const char* item :
         {"ViewStatus", "ViewTrend", "ViewAlarms", "TaskManager", "ViewStatus"}) {
        choose(item);
    }
    auto& area = Find<QMdiArea>(*window, "mdiArea");
    EXPECT_EQ(area.activeSubWindow()->widget(), &Find(*window, "frmStatus"));
    Find<QPushButton>(Find(*window, "frmTaskManager"), "cmdCancel").click();
    flushDeletes();
    choose("TaskManager");
    const QSize room = area.viewport()->size();
    for (QMdiSubWindow* frame : area.subWindowList()) {
        const std::string name = frame->widget()->objectName().toStdString();
        EXPECT_TRUE(area.viewport()->rect().contains(frame->geometry())) << name;
        const bool grows = name == "frmTrend" || name == "frmAlarms";
        EXPECT_EQ(frame->size(),
                  grows ? QSize(room.width() * 3 / 4, room.height() * 3 / 4) : frame->sizeHint())
            << name;
    }
    emit Find<QMenu>(*window, "Window").aboutToShow();
    QStringList listed;
    for (int k = 0; k < area.subWindowList().size(); ++k) {
        QAction& item = Find<QAction>(*window, "WindowList", k);
        listed << item.text() + (item.isChecked() ? "*" : "");
    }
    EXPECT_EQ(listed.join(", "), "&1 Card Status, &2 Real Time Trend, &3 Alarms, &4 Task Manager*");
    choose("WindowList_0");
    EXPECT_EQ(area.activeSubWindow()->widget(), &Find(*window, "frmStatus"));
    choose("WindowTile");
    const QList<QMdiSubWindow*> frames = area.subWindowList();
    for (QMdiSubWindow* frame : frames) {
        EXPECT_TRUE(area.viewport()->rect().contains(frame->geometry()));
        EXPECT_FALSE(frame != frames[0] && frame->geometry().intersects(frames[0]->geometry()));
    }
    choose("WindowCloseAll");
    flushDeletes();
    EXPECT_TRUE(area.subWindowList().isEmpty());
}

}  // namespace
}  // namespace vantrel::testing

#include "main_window_test.moc"
