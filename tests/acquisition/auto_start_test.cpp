// A run no one sits in front of: the task waits for the cards (but not for ever
// for a second one that does not answer), logging starts after the start sequence
// with the stored options; the status lines say only what changed.
#include <gtest/gtest.h>

#include "acquisition/AutoStart.h"
#include "acquisition/StatusText.h"
#include "tests/acquisition/RunRig.h"

namespace vantrel::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(AutoStart, WaitsFiveSecondsForAnOpenPortsCardThenStartsWithoutIt) {
    RunRig rig;
    acquisition::AutoStart start = rig.autoStart(false);
    rig.run->openPorts();
    start.begin();
    rig.cm2.receive("V1.02\r");
    rig.cm2.sent.clear();
    for (int ms = 0; ms < acquisition::AutoStart::kWaitForOtherCardMs - 250; ms += 250) {
        rig.poll.tick();
    }
    EXPECT_TRUE(rig.cm2.sent.empty());
    rig.poll.tick();
    EXPECT_EQ(rig.cm2.sent, Lines{"@TA00\r"});
    EXPECT_FALSE(rig.poll.isActive());
}

TEST(AutoStart, LogsWithTheStoredOptionsOnceTheStartSequenceIsThrough) {
    RunRig rig;
    rig.state.LogFileName = rig.folder.file("run.csv");
    rig.state.SaveChannel[2] = true;
    rig.state.ChannelName[2] = "Fan";
    rig.state.LogStampStyle = 4;
    acquisition::AutoStart start = rig.autoStart(true);
    rig.run->openPorts();
    start.begin();
    rig.cm.receive("V1.02\r");
    rig.cm2.receive("V1.03\r");
    rig.poll.tick();
    rig.poll.tick();
    EXPECT_FALSE(rig.state.Saving);  // still in the start pause
    rig.pause->tick();
    rig.pause->tick();
    rig.poll.tick();
    EXPECT_TRUE(rig.state.Saving);
    EXPECT_EQ(rig.folder.read("run.csv"), "Fan\r\n");
    EXPECT_TRUE(rig.said.empty());
}

// The texts themselves are the status window's, tested there.
TEST(StatusText, OnlyTheLinesThatChangedAreRepeated) {
    AcquisitionState state;
    acquisition::StatusChanges changes;
    EXPECT_EQ(changes.next(state).size(), 3u);
    EXPECT_EQ(changes.next(state), Lines{});
    state.PortOpen2 = true;
    EXPECT_EQ(changes.next(state),
              Lines{"card 2: Card Disconnected, Card not found, No Task Running"});
}

}  // namespace
}  // namespace vantrel::testing
