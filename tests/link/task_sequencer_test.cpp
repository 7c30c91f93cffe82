// The task start sequence on two cards, with fake ports and a hand-fired pause.
// Guards against: "@N" before the pause has ended or to the wrong card; card 2
// starting before card 1 has finished; a stop chosen during the pause followed by
// "@N"; a second start interleaving with the first; and a card whose port came
// back being told anything before it has answered "?", or being started when its
// task was stopped.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/CardLink.h"
#include "link/Commands.h"
#include "link/TaskSequencer.h"
#include "tests/support/FakeSerialPort.h"
#include "tests/support/FakeTimer.h"

namespace vantrel::testing {
namespace {

using Wire = std::vector<std::string>;

class TaskSequencerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sequencer.setTaskChangedHandler([this](bool running) { changes.push_back(running); });
        card1.OpenCardPort();
        card2.OpenCardPort();
        cm.receive("V1.00\r");
        cm2.receive("V2.00\r");
        cm.sent.clear();
        cm2.sent.clear();
    }

    AcquisitionState state;
    FakeSerialPort cm;
    FakeSerialPort cm2;
    FakeTimer delay;
    FakeTimer reopen1;
    FakeTimer reopen2;
    // Both cards' commands in the order they went out.
    Wire wire;
    std::vector<bool> changes;
    link::TaskSequencer sequencer{
        state, delay, [this](int card, std::string_view text) {
            wire.push_back(std::to_string(card + 1) + " " + std::string(text));
            (card == 0 ? card1 : card2).SendCommand(text);
        }};
    link::CardLink card1{state, 0, cm, reopen1, sequencer};
    link::CardLink card2{state, 1, cm2, reopen2, sequencer};
};

TEST_F(TaskSequencerTest, CardOneGetsItsWholeSequenceBeforeCardTwoAndASecondStartIsRefused) {
    EXPECT_TRUE(sequencer.Start());
    EXPECT_EQ(wire, Wire{"1 @TA00"});
    EXPECT_EQ(changes, std::vector<bool>{true});
    EXPECT_TRUE(state.TaskRunning1);
    EXPECT_TRUE(delay.isActive());
    EXPECT_TRUE(delay.singleShot);
    // The card gets its full 100 ms, the line time of "@TA00" added, and not much more.
    EXPECT_GE(delay.interval, 100);
    EXPECT_LE(delay.interval, 110);

    EXPECT_FALSE(sequencer.Start());
    EXPECT_EQ(delay.starts, 1);
    delay.tick();
    EXPECT_EQ(wire, (Wire{"1 @TA00", "1 @N", "2 @TA00"}));
    delay.tick();
    EXPECT_EQ(wire, (Wire{"1 @TA00", "1 @N", "2 @TA00", "2 @N"}));
    EXPECT_FALSE(sequencer.busy());
    EXPECT_EQ(cm.sent, (Wire{"@TA00\r", "@N\r"}));

    sequencer.Stop();
    EXPECT_EQ(cm.sent, (Wire{"@TA00\r", "@N\r", "@F\r"}));
    EXPECT_EQ(cm2.sent, (Wire{"@TA00\r", "@N\r", "@F\r"}));
    EXPECT_FALSE(state.TaskRunning1);
    EXPECT_FALSE(state.TaskRunning2);
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

TEST_F(TaskSequencerTest, StopDuringThePauseWaitsForItAndTakesThePlaceOfTheRest) {
    sequencer.Start();
    sequencer.Stop();
    EXPECT_EQ(wire, Wire{"1 @TA00"});
    delay.tick();
    EXPECT_EQ(wire, (Wire{"1 @TA00", "1 @F", "2 @F"}));
    EXPECT_FALSE(state.TaskRunning1);
    EXPECT_FALSE(sequencer.busy());
    EXPECT_FALSE(delay.isActive());
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

class ReplugTest : public TaskSequencerTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ReplugTest, CardHearsTheVersionQueryFirstThenItsTaskState) {
    const bool running = GetParam();
    state.TaskRunning2 = running;
    cm2.fail();
    reopen2.tick();
    // Nothing but the query until the card has answered.
    EXPECT_EQ(cm2.sent, Wire{"?\r"});
    EXPECT_FALSE(delay.isActive());

    cm2.receive("V2.00\r");
    if (running) {
        EXPECT_EQ(cm2.sent, (Wire{"?\r", "@TA00\r"}));
        delay.tick();
        EXPECT_EQ(cm2.sent, (Wire{"?\r", "@TA00\r", "@N\r"}));
    } else {
        EXPECT_EQ(cm2.sent, (Wire{"?\r", "@F\r"}));
    }
    // A later reply from the same card is only a reply.
    cm2.receive("V2.00\r");
    EXPECT_EQ(cm2.sent.size(), running ? 3u : 2u);
    EXPECT_TRUE(cm.sent.empty());
}

INSTANTIATE_TEST_SUITE_P(TaskRunning, ReplugTest, ::testing::Bool());

}  // namespace
}  // namespace vantrel::testing
