#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/frmCardComm.h"
#include "engine/AcquisitionState.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel::testing {
namespace {

class CardCommTest : public ::testing::Test {
  protected:
    frmCardComm::Services services() {
        return {[](int n) { return "dev" + std::to_string(n); },
                [this](const AcquisitionState& s) -> std::optional<std::string> {
                    saved.emplace_back(s.ComPort1, s.ComPort2);
                    return saveFailure;
                },
                [this] { ++endRequests; }};
    }

    AcquisitionState state;
    FakeDialogs dialogs;
    std::vector<std::pair<int, int>> saved;
    std::optional<std::string> saveFailure;
    int endRequests = 0;
};

TEST_F(CardCommTest, ListsShowEveryPortAndTheCurrentChoiceWithItsDevice) {
    state.ComPort1 = 3;
    state.ComPort2 = 255;
    frmCardComm window(state, dialogs, services());
    EXPECT_EQ(window.windowTitle(), "Card Communication");
    EXPECT_EQ(window.Frame1[0]->title(), "Select COM - Card 1");
    EXPECT_EQ(window.Frame1[1]->title(), "Select COM - Card 2");
    EXPECT_EQ(window.cmdConnect->text(), "Connect");
    for (int index = 0; index < 2; ++index) {
        ASSERT_EQ(window.cmbComm[index]->count(), 255);
        EXPECT_EQ(window.cmbComm[index]->itemText(0), "COM 1");
        EXPECT_EQ(window.cmbComm[index]->itemText(254), "COM 255");
        EXPECT_TRUE(window.Frame1[index]->isAncestorOf(window.cmbComm[index]));
    }
    EXPECT_EQ(window.cmbComm[0]->currentText(), "COM 3");
    EXPECT_EQ(window.cmbComm[1]->currentText(), "COM 255");
    EXPECT_EQ(window.lblDevice[0]->text(), "dev3");
    EXPECT_EQ(window.lblDevice[1]->text(), "dev255");

    window.cmbComm[0]->setCurrentIndex(9);
    EXPECT_EQ(window.lblDevice[0]->text(), "dev10");
    window.cmbComm[1]->setEditText("nonsense");
    EXPECT_EQ(window.lblDevice[1]->text(), "");
}

TEST_F(CardCommTest, OkWithoutChangesStoresTheSamePorts) {
    state.ComPort1 = 5;
    state.ComPort2 = 6;
    frmCardComm window(state, dialogs, services());
    window.show();
    window.cmdOK->click();
    EXPECT_EQ(saved, (std::vector<std::pair<int, int>>{{5, 6}}));
    EXPECT_FALSE(window.isVisible());
}

TEST_F(CardCommTest, PickedAndTypedPortsAreStored) {
    frmCardComm window(state, dialogs, services());
    window.cmbComm[0]->setCurrentIndex(6);
    window.cmbComm[1]->setEditText(" com 42 ");
    window.cmdOK_Click();
    EXPECT_EQ(state.ComPort1, 7);
    EXPECT_EQ(state.ComPort2, 42);
    EXPECT_EQ(saved, (std::vector<std::pair<int, int>>{{7, 42}}));
    EXPECT_TRUE(dialogs.messages.empty());
}

class CardCommRefusalTest : public CardCommTest,
                            public ::testing::WithParamInterface<const char*> {};

TEST_P(CardCommRefusalTest, NoPortOrCardOnesPortIsRefusedAndNothingIsStored) {
    state.ComPort1 = 1;
    state.ComPort2 = 2;
    frmCardComm window(state, dialogs, services());
    window.show();
    window.cmbComm[1]->setEditText(GetParam());
    window.cmdOK_Click();
    EXPECT_TRUE(saved.empty());
    EXPECT_EQ(state.ComPort1, 1);
    EXPECT_EQ(state.ComPort2, 2);
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("card 2"), std::string::npos);
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Warning);
}

INSTANTIATE_TEST_SUITE_P(Texts, CardCommRefusalTest,
                         ::testing::Values("", "COM 0", "0", "256", "COM", "abc", "COM 3x",
                                           "COM 1"));

TEST_F(CardCommTest, PortOutsideTheListOpensWithoutSelectionAndIsKept) {
    state.ComPort1 = 0;
    state.ComPort2 = 300;
    frmCardComm window(state, dialogs, services());
    EXPECT_EQ(window.cmbComm[0]->currentText(), "");
    EXPECT_EQ(window.cmbComm[1]->currentText(), "");
    window.cmdCancel_Click();
    EXPECT_EQ(state.ComPort1, 0);
    EXPECT_EQ(state.ComPort2, 300);
}

TEST_F(CardCommTest, CancelAndConnectStoreNothing) {
    state.ComPort1 = 4;
    frmCardComm window(state, dialogs, services());
    window.show();
    window.cmbComm[0]->setCurrentIndex(0);
    window.cmdConnect->click();
    EXPECT_TRUE(window.isVisible());
    window.cmdCancel->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(state.ComPort1, 4);
    EXPECT_TRUE(saved.empty());
}

TEST_F(CardCommTest, AWriteFailureIsReportedAndEndsTheProgram) {
    saveFailure = "cannot write vtrl.con";
    frmCardComm window(state, dialogs, services());
    window.cmdOK_Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "cannot write vtrl.con");
    EXPECT_EQ(dialogs.messages[0].title, "Vantrel");
    EXPECT_EQ(endRequests, 1);
}

}  // namespace
}  // namespace vantrel::testing
