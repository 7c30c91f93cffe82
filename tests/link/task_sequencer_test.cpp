// Starting and stopping the cards' tasks. Guards against "@N" before the pause
// has ended, a pause shorter than 100 ms or far longer, card 2 starting before
// card 1 has finished, a stop chosen during the pause followed by "@N", and a
// second start interleaving with the first.
#include "link/TaskSequencer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/FakeTimer.h"

namespace vantrel::testing {

TEST(TaskSequencer, CardOneGetsItsWholeSequenceFirstAndAStopWaitsForThePause) {
    AcquisitionState state;
    state.CardConnected1 = state.CardConnected2 = true;
    FakeTimer delay;
    std::vector<std::string> wire;  // both cards' commands in the order they went out
    link::TaskSequencer sequencer(state, delay, [&](int card, std::string_view text) {
        wire.push_back(std::to_string(card + 1) + " " + std::string(text));
    });
    std::vector<bool> changes;
    sequencer.setTaskChangedHandler([&](bool running) { changes.push_back(running); });

    EXPECT_TRUE(sequencer.Start());
    EXPECT_FALSE(sequencer.Start());
    sequencer.Stop();
    delay.tick();
    EXPECT_TRUE(sequencer.Start());
    EXPECT_TRUE(delay.singleShot);
    // The card gets its full 100 ms, the line time of "@TA00" added, and not much more.
    EXPECT_GE(delay.interval, 100);
    EXPECT_LE(delay.interval, 110);
    delay.tick();
    delay.tick();
    sequencer.Stop();
    EXPECT_EQ(wire, (std::vector<std::string>{"1 @TA00", "1 @F", "2 @F", "1 @TA00", "1 @N",
                                              "2 @TA00", "2 @N", "1 @F", "2 @F"}));
    EXPECT_FALSE(state.TaskRunning2);
    EXPECT_EQ(changes, (std::vector<bool>{true, false, true, false}));
}

}  // namespace vantrel::testing
