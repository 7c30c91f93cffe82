// Opening a card's port, and a port that is plugged in late or goes away.
// Guards against the wrong port number or card flag, a port given up after one
// failed open, a retry interval other than two seconds, a lost port left open or
// unretried, half a frame kept across the loss, and a returning card told anything
// before it has answered "?", or started when its task was stopped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/link/LinkFixture.h"

namespace vantrel::testing {
namespace {

using Sent = std::vector<std::string>;

TEST(CardLinkPort, RetriedEveryTwoSecondsAndAReturningCardAnswersBeforeItsTask) {
    LinkRig rig(1);
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
    // A card found late was never told to stop, so it is not.
    rig.port.receive("V1.02\r+00012,+000");
    EXPECT_EQ(rig.port.sent, Sent{"?\r"});

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
    // Its task is stopped: it hears "@F", once it has answered.
    EXPECT_EQ(rig.port.sent, (Sent{"?\r", "?\r"}));
    rig.port.receive("V1.02\r");
    rig.port.receive("V1.02\r");  // a later reply is only a reply
    EXPECT_EQ(rig.port.sent, (Sent{"?\r", "?\r", "@F\r"}));

    // Lost with its task running, it is started again once it has answered.
    rig.state.TaskRunning2 = true;
    rig.port.fail();
    rig.reopen.tick();
    EXPECT_EQ(rig.port.sent.size(), 4u);
    rig.port.receive("V1.02\r");
    rig.delay.tick();
    EXPECT_EQ(rig.port.sent, (Sent{"?\r", "?\r", "@F\r", "?\r", "@TA00\r", "@N\r"}));
}

}  // namespace
}  // namespace vantrel::testing
