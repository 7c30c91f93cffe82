// Opening a card's port, commands on the wire, and a port that goes away.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/Commands.h"
#include "tests/link/LinkFixture.h"

namespace vantrel::testing {
namespace {

using Sent = std::vector<std::string>;

TEST(CardLinkOpen, OpenPortAsksForTheVersion) {
    LinkRig rig(1);
    rig.state.ComPort2 = 7;
    rig.link.OpenCardPort();
    EXPECT_EQ(rig.port.number, 7);
    EXPECT_TRUE(rig.state.PortOpen2);
    EXPECT_FALSE(rig.state.PortOpen1);
    EXPECT_EQ(rig.port.sent, Sent{"?\r"});
}

TEST(CardLinkOpen, PortThatDoesNotOpenStaysSilent) {
    LinkRig rig;
    rig.port.openSucceeds = false;
    rig.link.OpenCardPort();
    EXPECT_EQ(rig.port.openAttempts, 1);
    EXPECT_FALSE(rig.state.PortOpen1);
    EXPECT_TRUE(rig.port.sent.empty());
    // A port that never opened is not lost, so it is not retried.
    EXPECT_FALSE(rig.reopen.isActive());
}

TEST(CardLinkOpen, SendCommandAddsOneCr) {
    LinkRig rig;
    rig.link.SendCommand(link::kCommandStartArm);
    rig.link.SendCommand("#D0009");
    EXPECT_EQ(rig.port.sent, (Sent{"@TA00\r", "#D0009\r"}));
}

class LostPort : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.link.setPortLostHandler([this](bool lost) { changes.push_back(lost); });
        rig.link.OpenCardPort();
        rig.port.receive("V1.02\r");
        rig.port.sent.clear();
    }

    LinkRig rig;
    std::vector<bool> changes;
};

TEST_F(LostPort, ErrorClosesAtOnceAndRetriesEveryTwoSeconds) {
    rig.port.receive("+00012,+000");
    rig.port.fail();
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_TRUE(rig.state.PortLost1);
    EXPECT_TRUE(rig.link.portLost());
    EXPECT_TRUE(rig.reopen.isActive());
    EXPECT_EQ(rig.reopen.interval, link::kReopenIntervalMs);
    EXPECT_FALSE(rig.reopen.singleShot);
    // Half a frame from before the loss is gone; a later one cannot complete it.
    EXPECT_TRUE(rig.link.RxBuffer().empty());
    // What the program learned about the card still stands.
    EXPECT_TRUE(rig.state.CardConnected1);
    EXPECT_TRUE(rig.state.PortOpen1);
    EXPECT_EQ(changes, std::vector<bool>{true});
}

TEST_F(LostPort, RepeatedErrorsCountOnce) {
    rig.port.fail();
    rig.port.fail();
    rig.link.OnReceive(platform::kEventError);
    EXPECT_EQ(rig.reopen.starts, 1);
    EXPECT_EQ(changes, std::vector<bool>{true});
}

TEST_F(LostPort, ReopenAsksVersionAgainWhenIdle) {
    rig.port.fail();
    rig.port.openSucceeds = false;
    rig.reopen.tick();
    rig.reopen.tick();
    EXPECT_TRUE(rig.state.PortLost1);
    EXPECT_TRUE(rig.reopen.isActive());
    EXPECT_TRUE(rig.port.sent.empty());

    rig.port.openSucceeds = true;
    rig.reopen.tick();
    EXPECT_TRUE(rig.port.isOpen());
    EXPECT_FALSE(rig.state.PortLost1);
    EXPECT_FALSE(rig.reopen.isActive());
    EXPECT_EQ(rig.port.openAttempts, 4);  // start-up, two failures, success
    EXPECT_EQ(rig.port.sent, Sent{"?\r"});
    EXPECT_FALSE(rig.delay.isActive());
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

TEST_F(LostPort, ReopenRestartsARunningTask) {
    rig.state.TaskRunning1 = true;
    rig.port.fail();
    rig.reopen.tick();
    EXPECT_EQ(rig.port.sent, (Sent{"?\r", "@TA00\r"}));
    EXPECT_TRUE(rig.delay.isActive());
    EXPECT_TRUE(rig.delay.singleShot);
    EXPECT_EQ(rig.delay.interval, link::kStartDelayMs);
    rig.delay.tick();
    EXPECT_EQ(rig.port.sent, (Sent{"?\r", "@TA00\r", "@N\r"}));
    // Frames flow again.
    rig.port.receive(AnalogFrame({5, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(rig.state.RawCounts[0], 5);
}

TEST_F(LostPort, StopDuringTheStartPauseWins) {
    rig.state.TaskRunning1 = true;
    rig.port.fail();
    rig.reopen.tick();
    rig.state.TaskRunning1 = false;
    rig.delay.tick();
    EXPECT_EQ(rig.port.sent, (Sent{"?\r", "@TA00\r"}));
}

TEST_F(LostPort, LostAgainDuringTheStartPauseSendsNothingMore) {
    rig.state.TaskRunning1 = true;
    rig.port.fail();
    rig.reopen.tick();
    rig.port.fail();
    EXPECT_FALSE(rig.delay.isActive());
    EXPECT_TRUE(rig.reopen.isActive());
    rig.delay.tick();
    EXPECT_EQ(rig.port.sent, (Sent{"?\r", "@TA00\r"}));
}

TEST(CardLinkWithoutTimers, LostPortIsClosedAndMarked) {
    AcquisitionState state;
    FakeSerialPort port;
    link::CardLink link(state, 1, port);
    link.OpenCardPort();
    port.fail();
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(state.PortLost2);
    EXPECT_FALSE(state.PortLost1);
}

TEST(CardLinkLifetime, DestroyedLinkLeavesThePortQuiet) {
    AcquisitionState state;
    FakeSerialPort port;
    FakeTimer reopen;
    FakeTimer delay;
    {
        link::CardLink link(state, 0, port, reopen, delay);
        link.OpenCardPort();
        port.fail();
    }
    EXPECT_FALSE(reopen.isActive());
    port.receive("V9.99\r");
    EXPECT_FALSE(state.CardConnected1);
}

}  // namespace
}  // namespace vantrel::testing
