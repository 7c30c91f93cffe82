// Opening a card's port, and a port that is plugged in late or goes away.
// Guards against the wrong port number or card flag, a port given up after one
// failed open, a retry interval other than two seconds, "?" sent before the port
// is open, a lost port left open or unretried, half a frame kept across the loss,
// and a destroyed link still answering its port.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/link/LinkFixture.h"

namespace vantrel::testing {
namespace {

using Sent = std::vector<std::string>;

TEST(CardLinkPort, RetriedEveryTwoSecondsAtStartUpAndAfterALoss) {
    LinkRig rig(1);
    std::vector<bool> changes;
    rig.link.setPortLostHandler([&](bool lost) { changes.push_back(lost); });
    rig.state.ComPort2 = 7;
    rig.port.openSucceeds = false;
    rig.link.OpenCardPort();
    rig.reopen.tick();
    EXPECT_FALSE(rig.state.PortOpen2);
    EXPECT_TRUE(rig.port.sent.empty());
    rig.port.openSucceeds = true;  // the adapter is plugged in
    rig.reopen.tick();
    EXPECT_EQ(rig.port.number, 7);
    EXPECT_TRUE(rig.state.PortOpen2);
    EXPECT_FALSE(rig.state.PortOpen1);
    EXPECT_FALSE(rig.reopen.isActive());
    EXPECT_EQ(rig.port.sent, Sent{"?\r"});

    rig.port.receive("V1.02\r+00012,+000");
    rig.port.fail();
    rig.port.fail();  // repeated errors count once
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_TRUE(rig.state.PortLost2);
    EXPECT_EQ(rig.reopen.starts, 2);
    EXPECT_EQ(rig.reopen.interval, 2000);
    EXPECT_FALSE(rig.reopen.singleShot);
    EXPECT_TRUE(rig.link.RxBuffer().empty());
    rig.port.openSucceeds = false;
    rig.reopen.tick();
    rig.port.openSucceeds = true;
    rig.reopen.tick();
    EXPECT_EQ(rig.port.openAttempts, 5);
    EXPECT_FALSE(rig.state.PortLost2);
    EXPECT_EQ(rig.port.sent, (Sent{"?\r", "?\r"}));
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

TEST(CardLinkPort, DestroyedLinkLeavesThePortQuiet) {
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
