// Opening a card's port, commands on the wire, and a port that goes away or is
// plugged in late. Guards against a port given up after one failed open, a
// retry that sends before the port is open, and a lost port left unretried.
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

TEST(CardLinkOpen, PortThatDoesNotOpenIsTriedEveryTwoSecondsAndThenAsked) {
    LinkRig rig;
    rig.state.ComPort1 = 4;
    rig.port.openSucceeds = false;
    rig.link.OpenCardPort();
    rig.reopen.tick();
    EXPECT_FALSE(rig.state.PortOpen1);
    EXPECT_TRUE(rig.port.sent.empty());
    EXPECT_TRUE(rig.reopen.isActive());

    // The adapter is plugged in.
    rig.port.openSucceeds = true;
    rig.reopen.tick();
    EXPECT_EQ(rig.port.openAttempts, 3);
    EXPECT_EQ(rig.port.number, 4);
    EXPECT_TRUE(rig.state.PortOpen1);
    EXPECT_FALSE(rig.reopen.isActive());
    EXPECT_EQ(rig.port.sent, Sent{"?\r"});
    // The card connects as at start-up; it was never told to stop, so it is not.
    rig.port.receive("V1.02\r");
    EXPECT_TRUE(rig.state.CardConnected1);
    EXPECT_EQ(rig.port.sent, Sent{"?\r"});
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

TEST_F(LostPort, ReopenIsTriedUntilThePortOpensThenAsksTheVersion) {
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
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
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
    link::TaskSequencer sequencer(state, delay, [](int, std::string_view) {});
    {
        link::CardLink link(state, 0, port, reopen, sequencer);
        link.OpenCardPort();
        port.fail();
    }
    EXPECT_FALSE(reopen.isActive());
    port.receive("V9.99\r");
    EXPECT_FALSE(state.CardConnected1);
}

}  // namespace
}  // namespace vantrel::testing
