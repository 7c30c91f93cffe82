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
    FakeTimer poll;
    Lines said;
    acquisition::AutoStart start(rig.state, *rig.run, poll, false,
                                 [&](const std::string& line) { said.push_back(line); });
    rig.run->openPorts();
    start.begin();
    rig.cm2.receive("V1.02\r");
    rig.cm2.sent.clear();
    for (int ms = 0; ms < acquisition::AutoStart::kWaitForOtherCardMs - 250; ms += 250) {
        poll.tick();
    }
    EXPECT_TRUE(rig.cm2.sent.empty());
    poll.tick();
    EXPECT_EQ(rig.cm2.sent, Lines{"@TA00\r"});
    EXPECT_FALSE(poll.isActive());
}

TEST(AutoStart, LogsWithTheStoredOptionsOnceTheStartSequenceIsThrough) {
    RunRig rig;
    rig.state.LogFileName = rig.folder.file("run.csv");
    rig.state.SaveChannel[2] = true;
    rig.state.ChannelName[2] = "Fan";
    rig.state.LogStampStyle = 4;
    FakeTimer poll;
    Lines said;
    acquisition::AutoStart start(rig.state, *rig.run, poll, true,
                                 [&](const std::string& line) { said.push_back(line); });
    rig.run->openPorts();
    start.begin();
    rig.cm.receive("V1.02\r");
    rig.cm2.receive("V1.03\r");
    poll.tick();
    poll.tick();
    EXPECT_FALSE(rig.state.Saving);  // still in the start pause
    rig.pause->tick();
    rig.pause->tick();
    poll.tick();
    EXPECT_TRUE(rig.state.Saving);
    EXPECT_EQ(rig.folder.read("run.csv"), "Fan\r\n");
    EXPECT_TRUE(said.empty());
}

TEST(StatusText, EachLineSaysWhatTheStatusWindowShowsAndOnlyChangesAreRepeated) {
    AcquisitionState state;
    state.ComPort2 = 7;
    acquisition::StatusChanges changes;
    EXPECT_EQ(changes.next(state),
              (Lines{"card 1: Card Disconnected, COM not found, No Task Running",
                     "card 2: Card Disconnected, COM not found, No Task Running",
                     "logging: Not Saving"}));
    EXPECT_EQ(acquisition::CardStatus(state, 1).port, "USB : COM7");
    state.PortOpen1 = state.PortOpen2 = true;
    state.CardConnected1 = state.TaskRunning1 = state.Saving = true;
    state.CardVersion1 = "1.02";
    state.LogFileInUse = "/data/run-20261207-000000.csv";
    EXPECT_EQ(changes.next(state),
              (Lines{"card 1: Card Connected. Ver.1.02, No Faults, Task Running",
                     "card 2: Card Disconnected, Card not found, No Task Running",
                     "logging: Saving", "log file: /data/run-20261207-000000.csv"}));
    EXPECT_EQ(changes.next(state), Lines{});
    state.PortLost1 = true;  // records pause while card 1's port is gone
    EXPECT_EQ(
        changes.next(state),
        (Lines{"card 1: Card Connected. Ver.1.02, COM lost, Task Running", "logging: Not Saving"}));
    state.SaveError = true;
    EXPECT_EQ(changes.next(state), Lines{"logging: Save error"});
    // The status window names the file alone.
    state.LogResumed = state.LowDiskSpace = true;
    EXPECT_EQ(changes.next(state),
              Lines{"log file: /data/run-20261207-000000.csv (resumed), disk space low"});
    EXPECT_EQ(acquisition::LogFileStatus(state),
              "run-20261207-000000.csv (resumed), disk space low");
    state.Saving = false;
    EXPECT_EQ(acquisition::LogFileStatus(state), "No log file");
}

}  // namespace
}  // namespace vantrel::testing
