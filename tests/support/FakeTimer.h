#pragma once

#include "platform/Timer.h"

namespace vantrel::testing {

// A timer that only fires when the test says so.
class FakeTimer : public platform::Timer {
  public:
    int interval = 0;
    bool singleShot = false;
    bool active = false;
    int starts = 0;

    void start(int intervalMs, bool once) override {
        interval = intervalMs;
        singleShot = once;
        active = true;
        ++starts;
    }
    void stop() override { active = false; }
    bool isActive() const override { return active; }

    // One tick, as the real timer would deliver it: only while running.
    void tick() {
        if (!active) {
            return;
        }
        if (singleShot) {
            active = false;
        }
        fire();
    }
};

}  // namespace vantrel::testing
