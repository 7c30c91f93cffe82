#include <QMdiSubWindow>
#include <QMenuBar>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/frmStatus.h"
#include "app/frmTaskManager.h"
#include "tests/app/MainWindowFixture.h"

namespace vantrel::testing {
namespace {

using StartUpTest = MainWindowFixture;

TEST_F(StartUpTest, SplashComesFirstThenTheWindowThenBothPortsThenTheStatusWindow) {
    state.ComPort1 = 3;
    state.ComPort2 = 4;
    window->Form_Load();

    EXPECT_EQ(modalRuns, 1);
    EXPECT_FALSE(splashSeenVisibleMainWindow);
    EXPECT_EQ(splashSeenOpenAttempts, 0);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(cm.number, 3);
    EXPECT_EQ(cm2.number, 4);
    EXPECT_EQ(cm.sent, std::vector<std::string>{"?\r"});
    EXPECT_EQ(cm2.sent, std::vector<std::string>{"?\r"});
    EXPECT_TRUE(state.PortOpen1);
    EXPECT_TRUE(state.PortOpen2);
    ASSERT_NE(window->statusWindow, nullptr);
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 1);
    EXPECT_TRUE(window->tmrSave->isActive());
    EXPECT_EQ(window->tmrSave->interval(), 1000);
}

TEST_F(StartUpTest, NoPortOpensYetTheWindowsOpenAndNothingIsSent) {
    cm.openSucceeds = false;
    cm2.openSucceeds = false;
    window->Form_Load();

    EXPECT_EQ(cm.openAttempts, 1);
    EXPECT_EQ(cm2.openAttempts, 1);
    EXPECT_FALSE(state.PortOpen1);
    EXPECT_FALSE(state.PortOpen2);
    EXPECT_TRUE(cm.sent.empty());
    EXPECT_TRUE(cm2.sent.empty());
    EXPECT_TRUE(window->isVisible());
    ASSERT_NE(window->statusWindow, nullptr);
    EXPECT_EQ(window->statusWindow->lblFault[0]->text(), "COM not found");
    EXPECT_EQ(window->statusWindow->lblFault[1]->text(), "COM not found");

    window->TaskStart_Click();
    EXPECT_TRUE(cm.sent.empty());
    EXPECT_TRUE(cm2.sent.empty());
    EXPECT_TRUE(window->TaskStart->isEnabled());
    EXPECT_FALSE(window->TaskStop->isEnabled());
}

TEST_F(StartUpTest, OnlyTheOpenPortIsAsked) {
    cm.openSucceeds = false;
    window->Form_Load();
    EXPECT_TRUE(cm.sent.empty());
    EXPECT_EQ(cm2.sent, std::vector<std::string>{"?\r"});
    EXPECT_FALSE(state.PortOpen1);
    EXPECT_TRUE(state.PortOpen2);
}

TEST_F(StartUpTest, StatusWindowFollowsRepliesAndALostPort) {
    window->Form_Load();
    cm.receive("V1.02\r");
    cm2.receive("V2.10\r");
    frmStatus* status = window->statusWindow;
    ASSERT_NE(status, nullptr);
    status->tmrStatus_Timer();
    EXPECT_EQ(status->lblStatus[0]->text(), "Card Connected. Ver.1.02");
    EXPECT_EQ(status->lblStatus[1]->text(), "Card Connected. Ver.2.10");
    EXPECT_EQ(status->lblFault[0]->text(), "No Faults");

    cm.fail();
    status->tmrStatus_Timer();
    EXPECT_EQ(status->lblFault[0]->text(), "COM lost");
    EXPECT_EQ(status->lblStatus[0]->text(), "Card Connected. Ver.1.02");
    EXPECT_EQ(status->lblFault[1]->text(), "No Faults");
}

using MenuTest = MainWindowFixture;

TEST_F(MenuTest, BarHoldsEveryItemInOrderWithCaptionsAndStates) {
    struct Expected {
        std::string menu;
        std::vector<std::tuple<std::string, std::string, bool>> items;
    };
    const std::vector<Expected> expected = {
        {"File", {{"FileSave", "Save", true}, {"FileExit", "Exit", true}}},
        {"View",
         {{"ViewAnalogData", "Analog Data", true},
          {"ViewDigitalData", "Digital Data", true},
          {"sv2", "-", true},
          {"ViewTrend", "Trend", true},
          {"ViewHistory", "History", true},
          {"sv1", "-", true},
          {"ViewStatus", "Status", true}}},
        {"Task",
         {{"TaskStart", "Start", true},
          {"TaskStop", "Stop", false},
          {"st1", "-", true},
          {"TaskManager", "Task Manager", true}}},
        {"Options",
         {{"OptionsCardConfig_0", "Card 1 Configuration", true},
          {"OptionsCardConfig_1", "Card 2 Configuration", true},
          {"OptionsCardComm", "Card Communication", true},
          {"so1", "-", true},
          {"OptionsSettings", "Settings", true},
          {"OptionsCalibrate_0", "Card 1 Calibration", true},
          {"OptionsCalibrate_1", "Card 2 Calibration", true}}},
        {"Help", {{"HelpContents", "Contents", true}, {"HelpAbout", "About", true}}},
    };

    EXPECT_EQ(window->windowTitle(), "Vantrel - 16 Channel ~ Data Acquisition Solution");
    const QList<QAction*> bar = window->menuBar()->actions();
    ASSERT_EQ(bar.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t m = 0; m < expected.size(); ++m) {
        QMenu* menu = bar[static_cast<qsizetype>(m)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(QString(menu->title()).remove(QLatin1Char('&')).toStdString(), expected[m].menu);
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(expected[m].items.size()))
            << expected[m].menu;
        for (std::size_t i = 0; i < expected[m].items.size(); ++i) {
            QAction* item = items[static_cast<qsizetype>(i)];
            const auto& [name, caption, enabled] = expected[m].items[i];
            EXPECT_EQ(item->objectName().toStdString(), name);
            const std::string shown =
                item->isSeparator() ? "-"
                                    : QString(item->text()).remove(QLatin1Char('&')).toStdString();
            EXPECT_EQ(shown, caption) << name;
            EXPECT_EQ(item->isEnabled(), enabled) << name;
        }
    }
    EXPECT_TRUE(window->FileSave->isCheckable());
    EXPECT_FALSE(window->FileSave->isChecked());
}

// Alt + letter reaches every menu and every item: each caption marks one letter,
// and no two entries of the same menu share it.
TEST_F(MenuTest, EveryCaptionHasItsOwnAccessLetter) {
    auto letterOf = [](const QString& text) {
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        return at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
    };
    std::set<QChar> menuLetters;
    for (QAction* menuAction : window->menuBar()->actions()) {
        const QChar letter = letterOf(menuAction->text());
        ASSERT_FALSE(letter.isNull()) << menuAction->text().toStdString();
        EXPECT_TRUE(menuLetters.insert(letter).second) << menuAction->text().toStdString();
        std::set<QChar> itemLetters;
        for (QAction* item : menuAction->menu()->actions()) {
            if (item->isSeparator()) {
                continue;
            }
            const QChar itemLetter = letterOf(item->text());
            ASSERT_FALSE(itemLetter.isNull()) << item->text().toStdString();
            EXPECT_TRUE(itemLetters.insert(itemLetter).second) << item->text().toStdString();
        }
    }
}

TEST_F(MenuTest, CardMenuArraysStoreTheirIndexAsTheSelectedCard) {
    window->OptionsCardConfig[1]->trigger();
    EXPECT_EQ(state.SelectedCard, 1);
    window->OptionsCalibrate[0]->trigger();
    EXPECT_EQ(state.SelectedCard, 0);
    window->OptionsCalibrate[1]->trigger();
    EXPECT_EQ(state.SelectedCard, 1);
    window->OptionsCardConfig[0]->trigger();
    EXPECT_EQ(state.SelectedCard, 0);
}

using ChildWindowTest = MainWindowFixture;

TEST_F(ChildWindowTest, ChoosingAnOpenWindowAgainBringsTheSameOneForward) {
    window->show();
    window->ViewStatus_Click();
    window->TaskManager_Click();
    QPointer<frmStatus> status = window->statusWindow;
    ASSERT_NE(status, nullptr);
    status->lblStatus[0]->setText("marker");  // would be lost by a reload

    window->ViewStatus->trigger();
    EXPECT_EQ(window->statusWindow, status);
    EXPECT_EQ(status->lblStatus[0]->text(), "marker");
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(window->mdiArea()->activeSubWindow()->widget(), status.data());
}

TEST_F(ChildWindowTest, ClosingAChildDestroysItAndItsFrameAndTheNextOpeningIsFresh) {
    window->show();
    window->TaskManager_Click();
    QPointer<frmTaskManager> first = window->taskManagerWindow;
    ASSERT_NE(first, nullptr);
    first->cmdCancel_Click();
    flushDeletes();
    flushDeletes();
    EXPECT_EQ(first, nullptr);
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());

    window->TaskManager_Click();
    ASSERT_NE(window->taskManagerWindow, nullptr);
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 1);
}

TEST_F(ChildWindowTest, TheFrameCloseBoxClosesTheChildToo) {
    window->show();
    window->ViewStatus_Click();
    QPointer<frmStatus> status = window->statusWindow;
    QPointer<QMdiSubWindow> frame = window->mdiArea()->subWindowList().value(0);
    ASSERT_NE(frame, nullptr);
    frame->close();
    flushDeletes();
    flushDeletes();
    EXPECT_EQ(status, nullptr);
    EXPECT_EQ(frame, nullptr);
    EXPECT_TRUE(window->mdiArea()->subWindowList().isEmpty());
}

TEST_F(ChildWindowTest, AboutBoxShowsItsTextsAndClosesItselfWithoutBlocking) {
    window->show();
    window->HelpAbout_Click();
    QPointer<frmAbout> about = window->aboutWindow;
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(modalRuns, 0);
    EXPECT_EQ(about->lblName->text(), "Vantrel");
    EXPECT_EQ(about->lblVersion->text(), "Ver.1.0");
    EXPECT_EQ(about->lblProduct->text(), "Data Acquisition Solution");
    EXPECT_EQ(about->lblChannels->text(), "16 Channel");
    EXPECT_TRUE(about->Timer1->isActive());
    EXPECT_EQ(about->Timer1->interval(), 2000);

    window->HelpAbout_Click();
    EXPECT_EQ(window->aboutWindow, about);

    about->Timer1_Timer();
    flushDeletes();
    EXPECT_EQ(about, nullptr);
}

}  // namespace
}  // namespace vantrel::testing
