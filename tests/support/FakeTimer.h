#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

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

// Makes FakeTimers for a run or a program and finds each by its name.
class FakeTimers {
  public:
    platform::TimerFactory factory() {
        return [this](std::string_view name) {
            auto timer = std::make_unique<FakeTimer>();
            made_[std::string(name)] = timer.get();
            return timer;
        };
    }
    // The last one made under that name; it lives as long as what it was made for.
    FakeTimer& operator[](const std::string& name) const { return *made_.at(name); }

  private:
    std::map<std::string, FakeTimer*> made_;
};

}  // namespace vantrel::testing
