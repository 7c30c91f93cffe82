#include <gtest/gtest.h>

#include <QPalette>
#include <string>

#include "app/frmStatus.h"
#include "engine/AcquisitionState.h"

namespace vantrel {
namespace {

struct CardCase {
    const char* what;
    bool portOpen;
    bool connected;
    bool portLost;
    bool taskRunning;
    std::string version;
    const char* status;
    const char* fault;
    const char* task;
};

class StatusCardTest : public ::testing::TestWithParam<std::tuple<int, CardCase>> {};

void applyCard(AcquisitionState& state, int card, const CardCase& c) {
    (card == 0 ? state.PortOpen1 : state.PortOpen2) = c.portOpen;
    (card == 0 ? state.CardConnected1 : state.CardConnected2) = c.connected;
    (card == 0 ? state.PortLost1 : state.PortLost2) = c.portLost;
    (card == 0 ? state.TaskRunning1 : state.TaskRunning2) = c.taskRunning;
    (card == 0 ? state.CardVersion1 : state.CardVersion2) = c.version;
    (card == 0 ? state.ComPort1 : state.ComPort2) = static_cast<std::int16_t>(card == 0 ? 7 : 12);
}

TEST_P(StatusCardTest, EachFlagCombinationShowsItsTexts) {
    const auto& [card, c] = GetParam();
    AcquisitionState state;
    // The other card answered with its own version, so a mix-up would show.
    applyCard(state, 1 - card, {"other", true, true, false, true, "9.99", "", "", ""});
    frmStatus status(state);
    applyCard(state, card, c);
    status.tmrStatus_Timer();

    EXPECT_EQ(status.lblStatus[card]->text().toStdString(), c.status) << c.what;
    EXPECT_EQ(status.lblFault[card]->text().toStdString(), c.fault) << c.what;
    EXPECT_EQ(status.lblTask[card]->text().toStdString(), c.task) << c.what;
    EXPECT_EQ(status.lblUSB[card]->text().toStdString(), card == 0 ? "USB : COM7" : "USB : COM12");
    EXPECT_EQ(status.lblStatus[1 - card]->text(), "Card Connected. Ver.9.99");
}

INSTANTIATE_TEST_SUITE_P(
    Cards, StatusCardTest,
    ::testing::Combine(
        ::testing::Values(0, 1),
        ::testing::Values(CardCase{"port never opened", false, false, false, false, "",
                                   "Card Disconnected", "COM not found", " No Task Running"},
                          CardCase{"open, no answer", true, false, false, false, "",
                                   "Card Disconnected", "Card not found", " No Task Running"},
                          CardCase{"connected", true, true, false, false, "1.02",
                                   "Card Connected. Ver.1.02", "No Faults", " No Task Running"},
                          CardCase{"connected, task", true, true, false, true, "1.02",
                                   "Card Connected. Ver.1.02", "No Faults", "Task Running"},
                          CardCase{"short reply", true, true, false, false, "1\r",
                                   "Card Connected. Ver.1\r", "No Faults", " No Task Running"},
                          CardCase{"port lost after answering", true, true, true, true, "2.00",
                                   "Card Connected. Ver.2.00", "COM lost", "Task Running"},
                          CardCase{"port lost before answering", true, false, true, false, "",
                                   "Card Disconnected", "COM lost", " No Task Running"})));

TEST(StatusWindowTest, OpeningShowsPortsAndMissingPortsBeforeTheFirstTick) {
    AcquisitionState state;
    state.ComPort1 = 3;
    state.ComPort2 = 4;
    state.PortOpen2 = true;
    frmStatus status(state);
    EXPECT_EQ(status.windowTitle(), "Card Status");
    EXPECT_EQ(status.lblUSB[0]->text(), "USB : COM3");
    EXPECT_EQ(status.lblUSB[1]->text(), "USB : COM4");
    EXPECT_EQ(status.lblFault[0]->text(), "COM not found");
    EXPECT_EQ(status.lblFault[1]->text(), "Fault");
    EXPECT_EQ(status.lblStatus[0]->text(), "Card Disconnected");
    EXPECT_EQ(status.lblTask[0]->text(), "No Task Running ");
    EXPECT_EQ(status.lblSave->text(), "Save");
    EXPECT_TRUE(status.tmrStatus->isActive());
    EXPECT_EQ(status.tmrStatus->interval(), 250);
}

TEST(StatusWindowTest, NewPortNumbersShowAtTheNextTick) {
    AcquisitionState state;
    frmStatus status(state);
    state.ComPort1 = 9;
    status.tmrStatus_Timer();
    EXPECT_EQ(status.lblUSB[0]->text(), "USB : COM9");
}

TEST(StatusWindowTest, ConnectedStaysWhenThePortFlagIsDroppedLater) {
    AcquisitionState state;
    state.PortOpen1 = true;
    state.CardConnected1 = true;
    state.CardVersion1 = "1.02";
    frmStatus status(state);
    status.tmrStatus_Timer();
    state.PortOpen1 = false;
    status.tmrStatus_Timer();
    EXPECT_EQ(status.lblStatus[0]->text(), "Card Connected. Ver.1.02");
    EXPECT_EQ(status.lblFault[0]->text(), "COM not found");
}

struct SaveCase {
    bool connected1;
    bool connected2;
    bool saving;
    bool saveError;
    const char* text;
};

class StatusSaveTest : public ::testing::TestWithParam<SaveCase> {};

TEST_P(StatusSaveTest, SaveLineFollowsCardOneAndLogging) {
    const SaveCase& c = GetParam();
    AcquisitionState state;
    state.CardConnected1 = c.connected1;
    state.CardConnected2 = c.connected2;
    state.TaskRunning2 = c.connected2;
    state.Saving = c.saving;
    state.SaveError = c.saveError;
    frmStatus status(state);
    status.tmrStatus_Timer();
    EXPECT_EQ(status.lblSave->text().toStdString(), c.text);
}

INSTANTIATE_TEST_SUITE_P(Flags, StatusSaveTest,
                         ::testing::Values(SaveCase{true, false, true, false, "Saving"},
                                           SaveCase{true, true, false, false, "Not Saving"},
                                           SaveCase{false, true, true, false, "Not Saving"},
                                           SaveCase{false, false, false, false, "Not Saving"},
                                           SaveCase{true, false, true, true, "Save error"}));

TEST(StatusWindowTest, LabelColoursAreFixed) {
    AcquisitionState state;
    frmStatus status(state);
    struct Expected {
        QLabel* label;
        QColor background;
        std::optional<QColor> text;
    };
    const QColor defaultText = QPalette().color(QPalette::WindowText);
    for (int card = 0; card < 2; ++card) {
        for (const Expected& e :
             {Expected{status.lblStatus[card], QColor(224, 224, 224), {}},
              Expected{status.lblUSB[card], QColor(128, 128, 255), QColor(255, 255, 255)},
              Expected{status.lblFault[card], QColor(128, 255, 128), QColor(0, 0, 255)},
              Expected{status.lblTask[card], QColor(255, 255, 0), QColor(255, 0, 0)},
              Expected{status.lblSave, QColor(192, 255, 255), {}}}) {
            const std::string name = e.label->objectName().toStdString();
            EXPECT_TRUE(e.label->autoFillBackground()) << name;
            EXPECT_EQ(e.label->palette().color(QPalette::Window), e.background) << name;
            EXPECT_EQ(e.label->palette().color(QPalette::WindowText), e.text.value_or(defaultText))
                << name;
        }
    }
    EXPECT_EQ(status.lblFault[1]->objectName(), "lblFault_1");
}

}  // namespace
}  // namespace vantrel
