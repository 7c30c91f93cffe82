// Starting and stopping the cards' tasks. Guards against "@N" before the pause
// has ended, a pause shorter than 100 ms or far longer, card 2 starting before
// card 1 has finished, a stop chosen during the pause followed by "@N", a second
// start interleaving with the first, and a replugged card told anything before it
// has answered "?", or started when its task was stopped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/link/LinkFixture.h"

namespace vantrel::testing {
namespace {

using Wire = std::vector<std::string>;

struct TwoCards {
    TwoCards() {
        state.CardConnected1 = state.CardConnected2 = true;
        sequencer.setTaskChangedHandler([this](bool running) { changes.push_back(running); });
    }
    AcquisitionState state;
    FakeTimer delay;
    Wire wire;  // both cards' commands in the order they went out
    std::vector<bool> changes;
    link::TaskSequencer sequencer{
        state, delay, [this](int card, std::string_view text) {
            wire.push_back(std::to_string(card + 1) + " " + std::string(text));
        }};
};

TEST(TaskSequencer, CardOneGetsItsWholeSequenceFirstAndASecondStartIsRefused) {
    TwoCards rig;
    EXPECT_TRUE(rig.sequencer.Start());
    EXPECT_EQ(rig.wire, Wire{"1 @TA00"});
    EXPECT_TRUE(rig.delay.singleShot);
    // The card gets its full 100 ms, the line time of "@TA00" added, and not much more.
    EXPECT_GE(rig.delay.interval, 100);
    EXPECT_LE(rig.delay.interval, 110);
    EXPECT_FALSE(rig.sequencer.Start());
    rig.delay.tick();
    rig.delay.tick();
    rig.sequencer.Stop();
    EXPECT_EQ(rig.wire, (Wire{"1 @TA00", "1 @N", "2 @TA00", "2 @N", "1 @F", "2 @F"}));
    EXPECT_FALSE(rig.state.TaskRunning2);
    EXPECT_EQ(rig.changes, (std::vector<bool>{true, false}));
}

TEST(TaskSequencer, StopDuringThePauseWaitsForItAndTakesThePlaceOfTheRest) {
    TwoCards rig;
    rig.sequencer.Start();
    rig.sequencer.Stop();
    EXPECT_EQ(rig.wire, Wire{"1 @TA00"});
    rig.delay.tick();
    EXPECT_EQ(rig.wire, (Wire{"1 @TA00", "1 @F", "2 @F"}));
    EXPECT_FALSE(rig.state.TaskRunning1);
    EXPECT_FALSE(rig.sequencer.busy());
}

class Replug : public ::testing::TestWithParam<bool> {};

TEST_P(Replug, CardHearsTheVersionQueryFirstThenItsTaskState) {
    const bool running = GetParam();
    LinkRig rig(1);
    rig.link.OpenCardPort();
    rig.port.receive("V2.00\r");
    rig.state.TaskRunning2 = running;
    rig.port.fail();
    rig.reopen.tick();
    EXPECT_EQ(rig.port.sent.size(), 2u);  // nothing but "?" until the card answers
    rig.port.receive("V2.00\r");
    rig.delay.tick();
    // A later reply from the same card is only a reply.
    rig.port.receive("V2.00\r");
    const Wire expected{"?\r", "?\r", "@TA00\r", "@N\r"};
    EXPECT_EQ(rig.port.sent, running ? expected : (Wire{"?\r", "?\r", "@F\r"}));
}

INSTANTIATE_TEST_SUITE_P(TaskRunning, Replug, ::testing::Bool());

}  // namespace
}  // namespace vantrel::testing
