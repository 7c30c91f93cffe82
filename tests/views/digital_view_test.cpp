#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <string>
#include <utility>
#include <vector>

#include "engine/AcquisitionState.h"
#include "views/ui/FilledShape.h"
#include "views/ui/frmViewDigitalData.h"

namespace vantrel {
namespace {

using Sent = std::vector<std::pair<int, std::string>>;

class DigitalViewTest : public ::testing::Test {
  protected:
    DigitalViewTest() {
        state.CardConnected1 = true;
        state.CardConnected2 = true;
    }

    AcquisitionState state;
    Sent sent;
    frmViewDigitalData window{state, [this](int card, std::string_view command) {
                                  sent.emplace_back(card, std::string(command));
                              }};
};

TEST_F(DigitalViewTest, CaptionsNameTheLineEachControlStandsFor) {
    EXPECT_EQ(window.windowTitle(), "Digital Data");
    const std::vector<std::pair<int, QString>> expected = {
        {0, "D0"}, {15, "D15"}, {16, "D31"}, {17, "D30"}, {31, "D16"}};
    for (const auto& [index, caption] : expected) {
        SCOPED_TRACE(index);
        const auto at = static_cast<std::size_t>(index);
        EXPECT_EQ(window.lblDI[at]->text(), caption);
        EXPECT_EQ(window.lblDO[at]->text(), caption);
        EXPECT_EQ(window.cmdDO[at]->text(), caption);
        EXPECT_EQ(window.cmdDO[at]->objectName(), QStringLiteral("cmdDO_%1").arg(index));
    }
    for (std::size_t card = 0; card < 2; ++card) {
        EXPECT_EQ(window.Frame2[card]->title(), "INPUTS");
        EXPECT_EQ(window.Frame3[card]->title(), "OUTPUTS");
        EXPECT_TRUE(window.Frame2[card]->isAncestorOf(window.shpDI[card * 16 + 3]));
        EXPECT_TRUE(window.Frame3[card]->isAncestorOf(window.cmdDO[card * 16 + 3]));
    }
}

TEST_F(DigitalViewTest, LampsShowTheReportedStatesInColourAndDescription) {
    state.DigitalIn[31] = true;
    state.DigitalOut[3] = true;
    window.tmrUpdate_Timer();
    for (int i = 0; i < kDigitalControls; ++i) {
        SCOPED_TRACE(i);
        const auto at = static_cast<std::size_t>(i);
        const bool inOn = i == 16;
        const bool outOn = i == 3;
        EXPECT_EQ(window.shpDI[at]->fillColor(), inOn ? QColor(0, 255, 0) : QColor(0, 0, 0));
        EXPECT_EQ(window.shpDI[at]->accessibleDescription(), inOn ? "on" : "off");
        EXPECT_EQ(window.shpDO[at]->fillColor(), outOn ? QColor(0, 255, 0) : QColor(0, 0, 0));
        EXPECT_EQ(window.shpDO[at]->accessibleDescription(), outOn ? "on" : "off");
    }
    state.DigitalIn[31] = false;
    window.tmrUpdate_Timer();
    EXPECT_EQ(window.shpDI[16]->accessibleDescription(), "off");
}

struct ClickCase {
    std::vector<int> clicks;
    Sent expected;
};

class DigitalClickTest : public DigitalViewTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(DigitalClickTest, EachClickSendsTheCardsWholeCommandedWord) {
    for (int index : GetParam().clicks) {
        window.cmdDO_Click(index);
    }
    EXPECT_EQ(sent, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, DigitalClickTest,
    ::testing::Values(ClickCase{{0, 3, 0}, {{0, "#D0001"}, {0, "#D0009"}, {0, "#D0008"}}},
                      ClickCase{{31}, {{1, "#D0001"}}}, ClickCase{{16}, {{1, "#D8000"}}},
                      ClickCase{{15, 16}, {{0, "#D8000"}, {1, "#D8000"}}},
                      ClickCase{{0, 31, 1}, {{0, "#D0001"}, {1, "#D0001"}, {0, "#D0003"}}}));

TEST_F(DigitalViewTest, FirstClickIgnoresWhatTheCardReportsAsOn) {
    state.DigitalOut[5] = true;
    window.tmrUpdate_Timer();
    window.cmdDO_Click(0);
    EXPECT_EQ(sent, (Sent{{0, "#D0001"}}));
}

TEST_F(DigitalViewTest, DisconnectedCardKeepsTheToggleWithoutSending) {
    state.CardConnected2 = false;
    window.cmdDO_Click(30);  // line 17
    EXPECT_TRUE(sent.empty());
    EXPECT_TRUE(state.DigitalOutCmd[17]);

    state.CardConnected2 = true;
    window.cmdDO_Click(16);  // line 31
    EXPECT_EQ(sent, (Sent{{1, "#D8002"}}));
}

TEST_F(DigitalViewTest, PressingTheButtonRunsTheClick) {
    window.cmdDO[2]->click();
    EXPECT_TRUE(state.DigitalOutCmd[2]);
    EXPECT_EQ(sent, (Sent{{0, "#D0004"}}));
}

}  // namespace
}  // namespace vantrel
