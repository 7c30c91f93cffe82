// Guards the demonstration's settings: written by the program's own writers, they
// start the program without a complaint and give the channels the types, ranges,
// marks and names that suit the simulated signals; a file the user has changed
// since is left alone.
#include <gtest/gtest.h>

#include "settings/StartUp.h"
#include "tests/engine/Tables.h"
#include "tests/engine/TempFolder.h"
#include "tools/cardsim/DemoSettings.h"

namespace vantrel {
namespace {

TEST(DemoSettings, StartTheProgramWithChannelsThatSuitTheSignals) {
    testing::TempFolder folder;
    testing::CopyShippedTables(folder.path().string());
    folder.write("vtrl.con", " 3 \r\n 4 \r\n");
    ASSERT_EQ(cardsim::WriteDemoSettings(folder.path().string()), std::nullopt);
    EXPECT_EQ(folder.read("vtrl.con"), " 3 \r\n 4 \r\n");

    AcquisitionState state;
    const StartUpResult result = RunStartUp(state, folder.path().string());
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.warning, "");
    EXPECT_EQ(state.InputType[2], 4);   // PT-100 on card 1's channel 2
    EXPECT_EQ(state.InputType[10], 6);  // K thermocouple on card 2's channel 2
    EXPECT_EQ(state.InputRange[4], 100.0);
    EXPECT_TRUE(state.PlotChannel[9]);
    EXPECT_FALSE(state.SaveChannel[5]);
    EXPECT_EQ(state.ChannelName[0], "Sine");
    EXPECT_EQ(state.ChannelName[6], "Channel 6");
    EXPECT_EQ(state.LogFileName, folder.file("demo-log.csv"));
    EXPECT_EQ(state.LogIntervalChoice, 1);
}

}  // namespace
}  // namespace vantrel
