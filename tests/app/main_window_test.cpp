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
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTreeWidget>

#include "app/CascadePlacement.h"
#include "app/frmHelp.h"
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

TEST_F(MainWindowTest, HelpAboutShowsTheBuildQtAndLicenceAndStaysUntilClosed) {
    Find<QAction>(*window, "HelpAbout").trigger();
    const QPointer<frmAbout> about = &Find<frmAbout>(*window, "frmAbout");
    EXPECT_FALSE(about->isModal() || Find<QTimer>(*about, "Timer1").isActive());
    const QString build = Find<QLabel>(*about, "lblBuild").text();
    EXPECT_TRUE(QRegularExpression("^Version " VANTREL_VERSION
                                   ", built \\d{4}-\\d\\d-\\d\\d\\nQt " +
                                   QRegularExpression::escape(qVersion()) + "$")
                    .match(build)
                    .hasMatch())
        << build.toStdString();
    EXPECT_TRUE(Find<QLabel>(*about, "lblLicence").text().contains("GPL-3.0-or-later"));
    Find<QPushButton>(*about, "cmdClose").click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
}

TEST_F(MainWindowTest, HelpContentsShowsTheManualWithContentsSearchAndHistory) {
    Find<QAction>(*window, "HelpContents").trigger();
    Find<QAction>(*window, "HelpContents").trigger();  // the same window again
    ASSERT_EQ(window->findChildren<frmHelp*>().size(), 1);
    auto& help = Find<frmHelp>(*window, "frmHelp");
    EXPECT_EQ(help.windowTitle(), "Vantrel user manual");
    auto& manual = Find<QTextBrowser>(help, "txtManual");
    const auto placeShown = [&] {
        return (manual.source().fragment() + "|" + manual.cursorForPosition({8, 8}).block().text())
            .toStdString();
    };
    // The title, and under it the sections in the manual's order.
    QTreeWidgetItem& title = *Find<QTreeWidget>(help, "treContents").topLevelItem(0);
    ASSERT_EQ(title.text(0) + "|" + title.child(3)->text(0), "Vantrel user manual|Logging");
    Find<QTreeWidget>(help, "treContents").setCurrentItem(title.child(3));
    EXPECT_EQ(placeShown(), "logging|Logging");

    // Next goes round the end once; a word found nowhere keeps the last match.
    const auto find = [&](const char* text, const char* button) {
        Find<QLineEdit>(help, "txtFind").setText(text);
        Find<QPushButton>(help, button).click();
        return QString::number(manual.textCursor().selectionStart()) + " " +
               manual.textCursor().selectedText().toLower() + "|" +
               Find<QLabel>(help, "lblFind").text();
    };
    const QString once = find("cold-junction", "cmdFindNext");  // the only one
    EXPECT_TRUE(once.endsWith(" cold-junction|")) << once.toStdString();
    EXPECT_EQ(find("cold-junction", "cmdFindNext"), once + "Continued from the top");
    const QString firstBroker = find("broker", "cmdFindNext");
    EXPECT_NE(find("broker", "cmdFindNext"), firstBroker);
    EXPECT_EQ(find("broker", "cmdFindPrevious"), firstBroker);
    EXPECT_EQ(find("xyzzy", "cmdFindNext"), firstBroker + "Not found");

    Find<QPushButton>(help, "cmdBack").click();
    EXPECT_EQ(placeShown(), "|Vantrel user manual");
    EXPECT_FALSE(Find<QPushButton>(help, "cmdBack").isEnabled());
    Find<QPushButton>(help, "cmdForward").click();  // to the place last seen there
    EXPECT_EQ(manual.source().fragment(), "logging");
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
