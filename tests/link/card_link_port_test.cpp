// Opening a card's port, and a port that is plugged in late or goes away.
// Guards against the wrong port number or card flag, a port given up after one
// failed open, a retry interval other than two seconds, a lost port left open or
// unretried, half a frame kept across the loss, a returning card told anything
// before it has answered "?", or started when its task was stopped, "?" not asked
// again while a card stays silent, and values not marked stale when frames stop.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
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
    // Until the card answers, "?" goes out again at every tick.
    rig.reopen.tick();
    EXPECT_TRUE(rig.state.AwaitingAnswer2);
    // A card found late was never told to stop, so it is not.
    rig.port.receive("V1.02\r+00012,+000");
    EXPECT_FALSE(rig.state.AwaitingAnswer2);
    EXPECT_FALSE(rig.reopen.isActive());
    EXPECT_EQ(rig.port.sent, (Sent{"?\r", "?\r"}));

    rig.port.fail();
    rig.port.fail();  // repeated errors count once
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_TRUE(rig.state.PortLost2);
    EXPECT_EQ(rig.reopen.starts, 2);
    EXPECT_EQ(rig.reopen.interval, 2000);
    EXPECT_FALSE(rig.reopen.singleShot);
    EXPECT_EQ(rig.link.counters().bufferedBytes, 0u);
    rig.port.openSucceeds = false;
    rig.reopen.tick();
    rig.port.openSucceeds = true;
    rig.reopen.tick();
    EXPECT_EQ(rig.port.openAttempts, 5);
    EXPECT_FALSE(rig.state.PortLost2);
    // Its task is stopped: it hears "@F", once it has answered.
    EXPECT_EQ(rig.port.sent, (Sent{"?\r", "?\r", "?\r"}));
    rig.port.receive("V1.02\r");
    rig.port.receive("V1.02\r");  // a later reply is only a reply
    EXPECT_EQ(rig.port.sent, (Sent{"?\r", "?\r", "?\r", "@F\r"}));

    // Lost with its task running, it is started again once it has answered.
    rig.state.TaskRunning2 = true;
    rig.port.fail();
    rig.reopen.tick();
    rig.port.receive("garbage\r");
    rig.reopen.tick();
    EXPECT_EQ(rig.port.sent.size(), 6u);
    rig.port.receive("V1.02\r");
    rig.delay.tick();
    EXPECT_EQ(rig.port.sent.back(), "@N\r");
}

TEST(CardLinkPort, AChangedPortNumberIsUsedAtOnceAndByEveryRetry) {
    LinkRig rig;
    rig.link.OpenCardPort();
    rig.port.receive("V1.02\r+00012,");
    rig.state.TaskRunning1 = true;
    rig.state.ComPort1 = 4;
    rig.port.openSucceeds = false;
    rig.link.Reconnect();
    EXPECT_EQ(rig.port.number, 4);
    EXPECT_TRUE(rig.state.AwaitingAnswer1);  // records pause until the new card answers
    rig.state.ComPort1 = 6;
    rig.port.openSucceeds = true;
    rig.reopen.tick();
    EXPECT_EQ(rig.port.number, 6);
    // The old port's half frame is gone; the card answers and its task resumes.
    rig.port.receive("V1.03\r");
    EXPECT_EQ(rig.link.counters().bufferedBytes, 0u);
    rig.delay.tick();
    EXPECT_EQ(rig.port.sent, (Sent{"?\r", "?\r", "@TA00\r", "@N\r"}));
}

TEST(CardLinkPort, ValuesGoStaleWhenNoFrameIsTakenInForTwoSeconds) {
    LinkRig rig;
    FakeTimer& watch = rig.watch;
    EXPECT_EQ(std::tuple(watch.interval, watch.singleShot, watch.active),
              std::tuple(2000, true, true));
    watch.tick();
    EXPECT_TRUE(rig.state.DataStale1);
    // Junk, a frame that cannot be decoded and a digital frame do not count.
    rig.port.receive("junk\r+99999,+00000,+00000,+00000,+00000,+00000,+00000,+00000,+25.0\r");
    rig.port.receive("00000000\r");
    EXPECT_TRUE(rig.state.DataStale1);
    const int starts = watch.starts;
    rig.port.receive("+00001,+00000,+00000,+00000,+00000,+00000,+00000,+00000,+25.0\r");
    EXPECT_FALSE(rig.state.DataStale1);
    EXPECT_EQ(watch.starts, starts + 1);
}

}  // namespace
}  // namespace vantrel::testing
