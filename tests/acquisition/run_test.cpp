// The run without any window: the logger's tick reaching the logger; the shut-down
// order ("@F" on every open port even when its card never answered, no "@N" after
// an end chosen in the start pause, both settings files, nothing twice, no start
// after the end); one conversion box at a time, whose closing may outlive the run.
#include <gtest/gtest.h>

#include "tests/acquisition/RunRig.h"

namespace vantrel::testing {
namespace {

using Wire = std::vector<std::string>;

// Card 1's count 40000 is out of range for 16 bits; card 2's slot 4 fails below.
const std::string kFrame = "+01234,-00017,+00000,+00000,+00000,+00000,+00000,+32000,+25.5\r";

TEST(Run, TheLoggerTicksOnceASecondFromTheBeginning) {
    RunRig rig;
    rig.state.LogFileName = rig.folder.file("run.csv");
    rig.state.CardConnected1 = rig.state.Saving = rig.state.SaveChannel[0] = true;
    rig.state.LogIntervalTicks = 1;
    rig.state.LogStampStyle = 4;
    rig.run->begin();
    EXPECT_EQ(rig.logTick->interval, 1000);
    rig.logTick->tick();
    EXPECT_EQ(rig.folder.read("run.csv"), "0\r\n");
}

TEST(Run, EndStopsEveryOpenPortOnceWithoutAStartAfterItAndWritesTheSettings) {
    RunRig rig;
    rig.run->openPorts();
    rig.cm2.receive("V1.02\r");
    rig.cm.sent.clear();
    rig.cm2.sent.clear();
    ASSERT_TRUE(rig.run->startTask());
    rig.pause->tick();
    rig.run->stopTask();
    // The end chosen in the next start pause: the pause's "@N" must not follow "@F".
    rig.run->startTask();
    rig.run->end();
    rig.pause->tick();
    rig.run->end();
    EXPECT_FALSE(rig.run->startTask());
    EXPECT_EQ(rig.cm2.sent, (Wire{"@TA00\r", "@N\r", "@F\r", "@TA00\r", "@F\r"}));
    EXPECT_EQ(rig.cm.sent, Wire{"@F\r"});  // its card never answered, yet its port is open
    EXPECT_TRUE(rig.folder.exists("vtrlo.con"));
    EXPECT_TRUE(rig.folder.exists("vtrls.con"));
    EXPECT_TRUE(rig.dialogs.messages.empty());
}

TEST(Run, ConversionFaultsShowOneBoxAtATimeWhichMayOutliveTheRun) {
    RunRig rig;
    rig.run->openPorts();
    rig.state.InputType[4] = rig.state.InputType[12] = 2;
    rig.state.InputRange[4] = rig.state.InputRange[12] = 1e100;
    rig.cm.receive(kFrame);
    rig.cm2.receive(kFrame);
    ASSERT_EQ(rig.dialogs.nonBlockingMessages.size(), 1u);
    EXPECT_EQ(rig.dialogs.nonBlockingMessages[0].text, "Overflow4");
    rig.run.reset();
    rig.dialogs.closeNonBlocking();  // must not reach the run that is gone
}

}  // namespace
}  // namespace vantrel::testing
