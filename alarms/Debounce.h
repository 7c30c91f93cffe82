#pragma once

// A condition that must hold for a while before it counts, and be gone for a
// while before it stops counting: the on- and off-delay of a rule.

#include <cstdint>
#include <limits>

namespace vantrel::alarms {

class Debounce {
  public:
    bool asserted() const { return asserted_; }

    // holds: whether the condition holds at nowMs (milliseconds of the frames'
    // clock). True when asserted() has just changed.
    bool step(bool holds, std::int64_t nowMs, std::int64_t onDelayMs, std::int64_t offDelayMs) {
        if (holds == asserted_) {
            since_ = kNotWaiting;
            return false;
        }
        // A clock set back starts the wait again rather than ending it early.
        if (since_ == kNotWaiting || nowMs < since_) {
            since_ = nowMs;
        }
        if (nowMs - since_ < (asserted_ ? offDelayMs : onDelayMs)) {
            return false;
        }
        asserted_ = holds;
        since_ = kNotWaiting;
        return true;
    }

  private:
    static constexpr std::int64_t kNotWaiting = std::numeric_limits<std::int64_t>::min();
    bool asserted_ = false;
    // Since when the condition has differed from asserted_.
    std::int64_t since_ = kNotWaiting;
};

}  // namespace vantrel::alarms
