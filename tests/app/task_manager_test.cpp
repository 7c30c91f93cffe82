#include <gtest/gtest.h>

#include "app/frmTaskManager.h"
#include "engine/AcquisitionState.h"

namespace vantrel {
namespace {

TEST(TaskManagerTest, OpensFromTheStoredFlagsWithScanAlwaysOnAndGreyed) {
    AcquisitionState state;
    state.PlotChannel[2] = true;
    state.SaveChannel[9] = true;
    state.PlotChannel[15] = true;
    frmTaskManager window(state);
    EXPECT_EQ(window.windowTitle(), "Task Manager");
    EXPECT_EQ(window.Frame1[0]->title(), "Analog Tasks");
    EXPECT_EQ(window.Frame1[1]->title(), "Analog Tasks");
    for (int i = 0; i < kUsedChannels; ++i) {
        EXPECT_EQ(window.FrameAT[i]->title(), QStringLiteral("Channel %1").arg(i));
        EXPECT_TRUE(window.chkScan[i]->isChecked()) << i;
        EXPECT_FALSE(window.chkScan[i]->isEnabled()) << i;
        EXPECT_EQ(window.chkPlot[i]->isChecked(), state.PlotChannel[i]) << i;
        EXPECT_EQ(window.chkSave[i]->isChecked(), state.SaveChannel[i]) << i;
    }
    // Card 2's channels are in the second group, numbered on from card 1's.
    EXPECT_TRUE(window.Frame1[1]->isAncestorOf(window.FrameAT[8]));
    EXPECT_FALSE(window.Frame1[0]->isAncestorOf(window.FrameAT[8]));
}

TEST(TaskManagerTest, OkStoresEveryBoxAndCancelStoresNothing) {
    AcquisitionState state;
    state.PlotChannel[0] = true;
    {
        frmTaskManager window(state);
        window.chkPlot[0]->setChecked(false);
        window.chkPlot[8]->setChecked(true);
        window.chkSave[15]->setChecked(true);
        window.chkScan[3]->setChecked(false);  // not read
        window.cmdCancel->click();
        EXPECT_TRUE(window.isHidden());
    }
    EXPECT_TRUE(state.PlotChannel[0]);
    EXPECT_FALSE(state.PlotChannel[8]);
    EXPECT_FALSE(state.SaveChannel[15]);

    frmTaskManager window(state);
    window.show();
    window.chkPlot[0]->setChecked(false);
    window.chkPlot[8]->setChecked(true);
    window.chkSave[15]->setChecked(true);
    window.cmdOK->click();
    EXPECT_FALSE(window.isVisible());
    for (int i = 0; i < kUsedChannels; ++i) {
        EXPECT_EQ(state.PlotChannel[i], i == 8) << i;
        EXPECT_EQ(state.SaveChannel[i], i == 15) << i;
    }
}

}  // namespace
}  // namespace vantrel
