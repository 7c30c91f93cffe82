// Opening a card's port, and a port that goes away or is plugged in late.
// Guards against the wrong port number or card flag, a port given up after one
// failed open, a retry interval other than two seconds, a retry that sends before
// the port is open, a lost port left open or unretried, and a destroyed link still
// answering its port.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/link/LinkFixture.h"

namespace vantrel::testing {
namespace {

using Sent = std::vector<std::string>;

TEST(CardLinkOpen, PortThatDoesNotOpenIsTriedEveryTwoSecondsAndThenAsked) {
    LinkRig rig(1);
    rig.state.ComPort2 = 7;
    rig.port.openSucceeds = false;
    rig.link.OpenCardPort();
    EXPECT_EQ(rig.reopen.interval, 2000);
    EXPECT_FALSE(rig.reopen.singleShot);
    rig.reopen.tick();
    EXPECT_FALSE(rig.state.PortOpen2);
    EXPECT_TRUE(rig.port.sent.empty());

    // The adapter is plugged in.
    rig.port.openSucceeds = true;
    rig.reopen.tick();
    EXPECT_EQ(rig.port.openAttempts, 3);
    EXPECT_EQ(rig.port.number, 7);
    EXPECT_TRUE(rig.state.PortOpen2);
    EXPECT_FALSE(rig.state.PortOpen1);
    EXPECT_FALSE(rig.reopen.isActive());
    // The card connects as at start-up; it was never told to stop, so it is not.
    rig.port.receive("V1.02\r");
    EXPECT_TRUE(rig.state.CardConnected2);
    EXPECT_EQ(rig.port.sent, Sent{"?\r"});
}

TEST(CardLinkLostPort, ClosedAtOnceAndRetriedEveryTwoSecondsUntilItOpens) {
    LinkRig rig;
    std::vector<bool> changes;
    rig.link.setPortLostHandler([&](bool lost) { changes.push_back(lost); });
    rig.link.OpenCardPort();
    rig.port.receive("V1.02\r+00012,+000");
    rig.port.sent.clear();

    rig.port.fail();
    rig.port.fail();  // repeated errors count once
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_TRUE(rig.state.PortLost1);
    EXPECT_EQ(rig.reopen.starts, 1);
    EXPECT_EQ(rig.reopen.interval, 2000);
    EXPECT_FALSE(rig.reopen.singleShot);
    // Half a frame from before the loss is gone; a later one cannot complete it.
    EXPECT_TRUE(rig.link.RxBuffer().empty());
    EXPECT_TRUE(rig.state.CardConnected1);

    rig.port.openSucceeds = false;
    rig.reopen.tick();
    EXPECT_TRUE(rig.state.PortLost1);
    EXPECT_TRUE(rig.port.sent.empty());
    rig.port.openSucceeds = true;
    rig.reopen.tick();
    EXPECT_FALSE(rig.state.PortLost1);
    EXPECT_FALSE(rig.reopen.isActive());
    EXPECT_EQ(rig.port.sent, Sent{"?\r"});
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
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
