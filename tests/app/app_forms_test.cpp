// Guards the small windows and rules of the app: the status window's texts (a
// changed word or spacing, one card's flags on the other card's line, a wrong port,
// a save line not following card 1 and the logger); the task manager's marks (a box
// for the wrong channel, the scan box left free, Cancel storing); reading a typed
// port (1-255 off by one, letter case, junk or overflow taken as a number); and the
// cascade (a step off by one, not starting over at the area's edge).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "app/CascadePlacement.h"
#include "app/PortChoice.h"
#include "app/frmStatus.h"
#include "app/frmTaskManager.h"
#include "tests/engine/TempFolder.h"
#include "tests/support/Controls.h"

namespace vantrel::testing {
namespace {

TEST(StatusWindowTest, EachCardsFlagsShowTheirTextsOnTheirOwnLine) {
    // Port open, card answered, port lost, task running; the texts shown; whether
    // "?" waits for its answer and whether frames stopped.
    const struct {
        bool open, connected, lost, running;
        QString texts;
        bool awaiting = false, stale = false;
    } cases[] = {
        {false, false, false, false, "Card Disconnected|COM not found| No Task Running"},
        {true, false, false, false, "Card Disconnected|Card not found| No Task Running"},
        {true, true, false, true, "Card Connected. Ver.1.02|No Faults|Task Running"},
        {true, true, true, true, "Card Connected. Ver.1.02|COM lost|Task Running"},
        {true, true, false, true, "Card Connected. Ver.1.02|No answer|Task Running", true},
        {true, false, false, false, "Card Disconnected|Card not found| No Task Running", true},
        {true, true, false, true, "Card Connected. Ver.1.02|No data|Task Running", false, true},
        {true, true, false, false, "Card Connected. Ver.1.02|No Faults| No Task Running", false,
         true},
    };
    for (int card : {0, 1}) {
        for (const auto& c : cases) {
            AcquisitionState state;  // the other card stays disconnected with no port
            frmStatus status(state);
            (card == 0 ? state.PortOpen1 : state.PortOpen2) = c.open;
            (card == 0 ? state.CardConnected1 : state.CardConnected2) = c.connected;
            (card == 0 ? state.PortLost1 : state.PortLost2) = c.lost;
            (card == 0 ? state.TaskRunning1 : state.TaskRunning2) = c.running;
            (card == 0 ? state.AwaitingAnswer1 : state.AwaitingAnswer2) = c.awaiting;
            (card == 0 ? state.DataStale1 : state.DataStale2) = c.stale;
            (card == 0 ? state.CardVersion1 : state.CardVersion2) = "1.02";
            (card == 0 ? state.ComPort1 : state.ComPort2) = 12;
            Tick(status, "tmrStatus");
            QStringList shown;
            for (const char* label : {"lblStatus", "lblFault", "lblTask"}) {
                shown << Find<QLabel>(status, label, card).text();
            }
            EXPECT_EQ(shown.join('|'), c.texts) << card;
            EXPECT_EQ(Find<QLabel>(status, "lblUSB", card).text(), "USB : COM12");
            EXPECT_EQ(Find<QLabel>(status, "lblFault", 1 - card).text(), "COM not found");
        }
    }
}

TEST(StatusWindowTest, SaveLineFollowsCardOneAndTheLogger) {
    const struct {
        bool connected1, saveError;
        const char* text;
        bool stale = false;
    } cases[] = {{true, false, "Saving"},
                 {false, false, "Not Saving"},
                 {true, true, "Save error"},
                 {true, false, "Not Saving", true}};
    for (const auto& c : cases) {
        AcquisitionState state;
        state.CardConnected1 = c.connected1;
        state.CardConnected2 = state.Saving = state.TaskRunning1 = true;
        state.SaveError = c.saveError;
        state.DataStale1 = c.stale;
        state.LogFileInUse = "/data/run-20261207-000000.csv";
        frmStatus status(state);
        EXPECT_EQ(Find<QTimer>(status, "tmrStatus").interval(), 250);
        EXPECT_EQ(Find<QLabel>(status, "lblFile").accessibleName(), "No log file");
        Tick(status, "tmrStatus");
        EXPECT_EQ(Find<QLabel>(status, "lblSave").text(), c.text);
        // The file in use beside it (shortened to fit when need be), the whole path
        // in its tip.
        EXPECT_EQ(Find<QLabel>(status, "lblFile").accessibleName(), "run-20261207-000000.csv");
        EXPECT_EQ(Find<QLabel>(status, "lblFile").toolTip(), "/data/run-20261207-000000.csv");
        // Ending with no one to close a box, its text shows there instead.
        status.ShowClosingNote("Closing");
        Tick(status, "tmrStatus");
        EXPECT_EQ(Find<QLabel>(status, "lblSave").text(), "Closing");
    }
}

TEST(TaskManagerTest, OpensFromTheStoredMarksAndOnlyOkStoresThem) {
    TempFolder folder;  // where OK saves the marks, not the working folder
    AcquisitionState state(folder.path().string());
    state.PlotChannel[2] = state.SaveChannel[9] = true;  // a box not loaded would be stored
    state.ChannelName[9] = "Inlet";
    for (const char* button : {"cmdCancel", "cmdOK"}) {
        frmTaskManager window(state);
        EXPECT_FALSE(Find<QCheckBox>(window, "chkScan", 15).isEnabled());
        EXPECT_EQ(Find<QGroupBox>(window, "FrameAT", 9).title(), "Channel 9");
        EXPECT_EQ(Find<QLabel>(window, "lblName", 9).text(), "Inlet");
        EXPECT_EQ(Find<QLabel>(window, "lblName", 8).text(), "")
            << "a default name is not repeated";
        Find<QCheckBox>(window, "chkPlot", 2).click();
        Find<QCheckBox>(window, "chkSave", 15).click();
        Find<QPushButton>(window, button).click();
    }
    for (int i = 0; i < kUsedChannels; ++i) {
        EXPECT_EQ(state.PlotChannel[i] || state.SaveChannel[i], i == 9 || i == 15) << i;
    }
}

TEST(PortChoiceTest, ReadsPickedAndTypedPortsAndRefusesTheRest) {
    for (const auto& [text, port] :
         {std::pair{"COM 1", 1}, {"COM 255", 255}, {"com7", 7}, {"  COM 3  ", 3}, {"42", 42}}) {
        EXPECT_EQ(ParsePortChoice(text), port) << '"' << text << '"';
    }
    for (const char* text : {"COM 0", "256", "", "COM 1a", "99999999999999999999"}) {
        EXPECT_EQ(ParsePortChoice(text), std::nullopt) << '"' << text << '"';
    }
    EXPECT_EQ(PortChoiceText(3), "COM 3");
}

TEST(CascadeTest, TakesTheFirstFreeStepAndStartsOverAtTheEdge) {
    const QSize area(380, 280);  // room for steps 0..4 of 20 pixels for 300x200
    const struct {
        QList<QPoint> taken;
        QSize window;
        QPoint expected;
    } cases[] = {
        {{{0, 0}, {40, 40}}, {300, 200}, {20, 20}},  // a closed window's step is reused
        {{{0, 0}, {20, 20}, {40, 40}, {60, 60}, {80, 80}}, {300, 200}, {0, 0}},
        {{{0, 0}}, {300, 281}, {0, 0}},  // taller than the area
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextCascadePosition(c.taken, c.window, area, 20), c.expected) << c.taken.size();
    }
}

}  // namespace
}  // namespace vantrel::testing
