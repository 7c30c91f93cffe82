#include <gtest/gtest.h>

#include <QMdiArea>

#include "tests/app/MainWindowFixture.h"
#include "views/ui/TrendSurface.h"
#include "views/ui/frmTrend.h"
#include "views/ui/frmViewAnalogData.h"
#include "views/ui/frmViewDigitalData.h"

namespace vantrel {
namespace {

using ViewMenuTest = testing::MainWindowFixture;

TEST_F(ViewMenuTest, EachViewOpensOnceFromTheViewMenu) {
    window->show();
    for (int round = 0; round < 2; ++round) {
        window->ViewAnalogData->trigger();
        window->ViewDigitalData->trigger();
        window->ViewTrend->trigger();
    }
    ASSERT_NE(window->analogDataWindow, nullptr);
    ASSERT_NE(window->digitalDataWindow, nullptr);
    ASSERT_NE(window->trendWindow, nullptr);
    EXPECT_EQ(window->mdiArea()->subWindowList().size(), 3);
}

TEST_F(ViewMenuTest, OutputButtonsSendThroughTheOwningCardsPort) {
    state.CardConnected1 = true;
    state.CardConnected2 = true;
    window->ViewDigitalData_Click();
    frmViewDigitalData* digital = window->digitalDataWindow;
    ASSERT_NE(digital, nullptr);
    digital->cmdDO_Click(0);
    digital->cmdDO_Click(16);
    EXPECT_EQ(cm.sent, (std::vector<std::string>{"#D0001\r"}));
    EXPECT_EQ(cm2.sent, (std::vector<std::string>{"#D8000\r"}));
}

TEST_F(ViewMenuTest, TrendReadsTheMainWindowsClock) {
    clock.current = {2026, 12, 6, 7, 45, 30};
    window->ViewTrend_Click();
    ASSERT_NE(window->trendWindow, nullptr);
    window->trendWindow->tmrTrend_Timer();
    EXPECT_EQ(window->trendWindow->pic->drawing().texts.at(0).text, "07:45:30");
}

}  // namespace
}  // namespace vantrel
