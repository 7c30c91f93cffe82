// Guards the status window's texts: a changed word or spacing, one card's flags
// shown on the other card's line, a wrong port number, and the save line not
// following card 1 and the logger.
#include <gtest/gtest.h>

#include <QLabel>
#include <string>

#include "app/frmStatus.h"
#include "engine/AcquisitionState.h"
#include "tests/support/Controls.h"

namespace vantrel::testing {
namespace {

struct CardCase {
    bool portOpen, connected, portLost, taskRunning;
    const char* status;
    const char* fault;
    const char* task;
};

class StatusCardTest : public ::testing::TestWithParam<std::tuple<int, CardCase>> {};

TEST_P(StatusCardTest, EachFlagCombinationShowsItsTextsOnItsOwnLine) {
    const auto& [card, c] = GetParam();
    AcquisitionState state;
    // The other card runs with its own version, so a mix-up would show.
    (card == 0 ? state.CardConnected2 : state.CardConnected1) = true;
    (card == 0 ? state.TaskRunning2 : state.TaskRunning1) = true;
    (card == 0 ? state.CardVersion2 : state.CardVersion1) = "9.99";
    frmStatus status(state);
    (card == 0 ? state.PortOpen1 : state.PortOpen2) = c.portOpen;
    (card == 0 ? state.CardConnected1 : state.CardConnected2) = c.connected;
    (card == 0 ? state.PortLost1 : state.PortLost2) = c.portLost;
    (card == 0 ? state.TaskRunning1 : state.TaskRunning2) = c.taskRunning;
    (card == 0 ? state.CardVersion1 : state.CardVersion2) = "1.02";
    (card == 0 ? state.ComPort1 : state.ComPort2) = 12;
    Tick(status, "tmrStatus");

    auto text = [&](const char* label) { return Find<QLabel>(status, label, card).text(); };
    EXPECT_EQ(text("lblStatus"), c.status);
    EXPECT_EQ(text("lblFault"), c.fault);
    EXPECT_EQ(text("lblTask"), c.task);
    EXPECT_EQ(text("lblUSB"), "USB : COM12");
}

INSTANTIATE_TEST_SUITE_P(
    Cards, StatusCardTest,
    ::testing::Combine(
        ::testing::Values(0, 1),
        ::testing::Values(CardCase{false, false, false, false, "Card Disconnected", "COM not found",
                                   " No Task Running"},
                          CardCase{true, false, false, false, "Card Disconnected", "Card not found",
                                   " No Task Running"},
                          CardCase{true, true, false, true, "Card Connected. Ver.1.02", "No Faults",
                                   "Task Running"},
                          CardCase{true, true, true, true, "Card Connected. Ver.1.02", "COM lost",
                                   "Task Running"})));

TEST(StatusWindowTest, SaveLineFollowsCardOneAndTheLogger) {
    const struct {
        bool connected1, saving, saveError;
        const char* text;
    } cases[] = {{true, true, false, "Saving"},
                 {false, true, false, "Not Saving"},
                 {true, true, true, "Save error"}};
    for (const auto& c : cases) {
        AcquisitionState state;
        state.CardConnected1 = c.connected1;
        state.CardConnected2 = true;
        state.Saving = c.saving;
        state.SaveError = c.saveError;
        frmStatus status(state);
        EXPECT_EQ(Find<QTimer>(status, "tmrStatus").interval(), 250);
        Tick(status, "tmrStatus");
        EXPECT_EQ(Find<QLabel>(status, "lblSave").text(), c.text);
    }
}

}  // namespace
}  // namespace vantrel::testing
