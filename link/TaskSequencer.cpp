#include "link/TaskSequencer.h"

#include <algorithm>

#include "engine/CardView.h"
#include "link/Commands.h"

namespace vantrel::link {

TaskSequencer::TaskSequencer(AcquisitionState& state, platform::Timer& delay, Send send)
    : state_(state), delay_(delay), send_(std::move(send)) {
    delay_.setHandler([this] { onPauseEnded(); });
}

TaskSequencer::~TaskSequencer() {
    delay_.stop();
    delay_.setHandler(nullptr);
}

bool TaskSequencer::Start() {
    if (busy()) {
        return false;
    }
    for (int card = 0; card < 2; ++card) {
        if (CardOf(state_, card).CardConnected) {
            queue_.push_back(card);
        }
    }
    if (queue_.empty()) {
        return false;
    }
    if (taskChanged_) {
        taskChanged_(true);
    }
    startNext();
    return true;
}

void TaskSequencer::Stop() {
    if (pausedCard_) {
        stopHeld_ = true;
        return;
    }
    stopNow();
}

void TaskSequencer::Resume(int card) {
    card = CardIndex(card);
    if (std::find(queue_.begin(), queue_.end(), card) != queue_.end()) {
        // Its start is still to come.
        return;
    }
    if (!CardOf(state_, card).TaskRunning) {
        send_(card, kCommandStop);
        return;
    }
    queue_.push_back(card);
    if (!pausedCard_) {
        startNext();
    }
}

void TaskSequencer::Cancel() {
    delay_.stop();
    queue_.clear();
    pausedCard_.reset();
    stopHeld_ = false;
}

void TaskSequencer::onPauseEnded() {
    if (!pausedCard_) {
        return;
    }
    const int card = *pausedCard_;
    pausedCard_.reset();
    if (stopHeld_) {
        stopHeld_ = false;
        queue_.clear();
        stopNow();
        return;
    }
    // A port lost during the pause takes nothing; the card starts afresh when it
    // answers again.
    if (!CardOf(state_, card).PortLost) {
        send_(card, kCommandStartRun);
    }
    startNext();
}

void TaskSequencer::startNext() {
    while (!queue_.empty()) {
        const int card = queue_.front();
        queue_.pop_front();
        CardOf(state_, card).TaskRunning = true;
        if (CardOf(state_, card).PortLost) {
            // Marked as running, it starts when its port comes back and answers.
            continue;
        }
        send_(card, kCommandStartArm);
        pausedCard_ = card;
        delay_.start(kStartPauseMs, true);
        return;
    }
}

void TaskSequencer::stopNow() {
    bool any = false;
    for (int card = 0; card < 2; ++card) {
        if (!CardOf(state_, card).CardConnected) {
            continue;
        }
        any = true;
        CardOf(state_, card).TaskRunning = false;
        send_(card, kCommandStop);
    }
    if (any && taskChanged_) {
        taskChanged_(false);
    }
}

}  // namespace vantrel::link
