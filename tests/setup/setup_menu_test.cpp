#include <gtest/gtest.h>

#include <QPointer>

#include "setup/ui/frmCalib.h"
#include "setup/ui/frmConfig.h"
#include "tests/app/MainWindowFixture.h"

namespace vantrel {
namespace {

using SetupMenuTest = testing::MainWindowFixture;

TEST_F(SetupMenuTest, OtherCardsEntryBringsTheConfigurationForwardUnchanged) {
    window->show();
    state.InputRange[0] = 5;
    window->OptionsCardConfig[0]->trigger();
    QPointer<frmConfig> config = window->configWindow;
    ASSERT_NE(config, nullptr);
    config->txtInputRange[1]->setText("7");

    window->OptionsCardConfig[1]->trigger();
    EXPECT_EQ(window->configWindow, config);
    EXPECT_EQ(config->windowTitle(), "Card Configuration - Card 1");
    EXPECT_EQ(config->txtInputRange[1]->text(), "7");

    config->cmdSave_Click(0);
    EXPECT_EQ(state.InputRange[8], 5);
    EXPECT_EQ(state.InputRange[9], 7);
    EXPECT_EQ(state.InputRange[1], 10);
}

TEST_F(SetupMenuTest, CalibrationClosesAndReopensAfresh) {
    window->show();
    window->OptionsCalibrate[1]->trigger();
    QPointer<frmCalib> calib = window->calibWindow;
    ASSERT_NE(calib, nullptr);
    EXPECT_EQ(calib->windowTitle(), "Calibration - Card 2");
    calib->chkSel[0]->setChecked(false);

    calib->cmdClose_Click();
    flushDeletes();
    EXPECT_EQ(window->calibWindow, nullptr);

    window->OptionsCalibrate[0]->trigger();
    ASSERT_NE(window->calibWindow, nullptr);
    EXPECT_EQ(window->calibWindow->windowTitle(), "Calibration - Card 1");
    EXPECT_TRUE(window->calibWindow->chkSel[0]->isChecked());
}

}  // namespace
}  // namespace vantrel
