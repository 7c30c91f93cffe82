#pragma once

// Starting and stopping the cards' acquisition tasks. A card starts with "@TA00",
// a pause of 100 ms and "@N"; with both cards connected card 1 gets its whole
// sequence before card 2's begins. The pause is a one-shot timer, so events keep
// flowing through the ordinary event loop while it runs. Task > Start and a card
// whose port came back after being lost both go through here, so two sequences
// never interleave on the wire.

#include <deque>
#include <functional>
#include <optional>
#include <string_view>

#include "engine/AcquisitionState.h"
#include "platform/Timer.h"

namespace vantrel::link {

class TaskSequencer {
  public:
    // Writes text + CR to card 0 (card 1) or 1 (card 2).
    using Send = std::function<void(int card, std::string_view text)>;
    // A start or stop that found a connected card: true when the task now runs.
    using TaskChanged = std::function<void(bool running)>;

    TaskSequencer(AcquisitionState& state, platform::Timer& delay, Send send);
    ~TaskSequencer();
    TaskSequencer(const TaskSequencer&) = delete;
    TaskSequencer& operator=(const TaskSequencer&) = delete;

    void setTaskChangedHandler(TaskChanged handler) { taskChanged_ = std::move(handler); }

    // Task > Start: every connected card, card 1 first. Refused while a sequence
    // is under way, so two starts cannot interleave. False when nothing started.
    bool Start();
    // Task > Stop: "@F" to every connected card. Chosen during a pause, it waits
    // for the pause to end and takes the place of the "@N" and of whatever was
    // still to come, so the stop is always the last word a card hears.
    void Stop();
    // The card answered "?" after its lost port came back: it starts again when
    // its task runs, otherwise it hears "@F" (a card that kept power would
    // otherwise go on streaming behind a stopped display).
    void Resume(int card);
    // Shut-down: nothing more goes out.
    void Cancel();

    // A pause is running or cards are waiting for their turn.
    bool busy() const { return pausedCard_.has_value() || !queue_.empty(); }

  private:
    void onPauseEnded();
    void startNext();
    void stopNow();

    AcquisitionState& state_;
    platform::Timer& delay_;
    Send send_;
    TaskChanged taskChanged_;
    std::deque<int> queue_;          // cards still to hear "@TA00"
    std::optional<int> pausedCard_;  // heard "@TA00", "@N" is due when the pause ends
    bool stopHeld_ = false;
};

}  // namespace vantrel::link
