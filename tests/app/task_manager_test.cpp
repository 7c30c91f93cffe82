// Guards the task manager's marks: a box shown or stored for the wrong channel
// (card 2's channels are numbered on from card 1's), the scan box not fixed on,
// and Cancel storing the marks.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>

#include "app/frmTaskManager.h"
#include "engine/AcquisitionState.h"
#include "tests/support/Controls.h"

namespace vantrel::testing {
namespace {

TEST(TaskManagerTest, OpensFromTheStoredMarksAndOnlyOkStoresThem) {
    AcquisitionState state;
    state.PlotChannel[2] = true;
    state.SaveChannel[9] = true;
    for (const char* button : {"cmdCancel", "cmdOK"}) {
        frmTaskManager window(state);
        EXPECT_TRUE(Find<QCheckBox>(window, "chkPlot", 2).isChecked());
        EXPECT_FALSE(Find<QCheckBox>(window, "chkPlot", 3).isChecked());
        EXPECT_TRUE(Find<QCheckBox>(window, "chkSave", 9).isChecked());
        EXPECT_TRUE(Find<QCheckBox>(window, "chkScan", 15).isChecked());
        EXPECT_FALSE(Find<QCheckBox>(window, "chkScan", 15).isEnabled());
        EXPECT_TRUE(Find(window, "Frame1", 1).isAncestorOf(&Find(window, "FrameAT", 8)));
        Find<QCheckBox>(window, "chkPlot", 2).click();
        Find<QCheckBox>(window, "chkSave", 15).click();
        Find<QPushButton>(window, button).click();
    }
    for (int i = 0; i < kUsedChannels; ++i) {
        EXPECT_FALSE(state.PlotChannel[i]) << i;
        EXPECT_EQ(state.SaveChannel[i], i == 9 || i == 15) << i;
    }
}

}  // namespace
}  // namespace vantrel::testing
