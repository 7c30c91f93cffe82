#pragma once

// A timer on the user-interface thread, behind an interface so that logic that
// waits (reopening a lost port, the pause between start commands) runs in tests
// without real time passing: a test double fires it by hand.

#include <functional>
#include <memory>
#include <string_view>
#include <utility>

namespace vantrel::platform {

class Timer {
  public:
    using Handler = std::function<void()>;

    virtual ~Timer() = default;

    // Restarts the timer; a single-shot timer stops itself after firing once.
    virtual void start(int intervalMs, bool singleShot) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

    void setHandler(Handler handler) { handler_ = std::move(handler); }

  protected:
    void fire() {
        if (handler_) {
            handler_();
        }
    }

  private:
    Handler handler_;
};

// Makes a timer for one job; name says which (a Qt timer takes it as its object
// name, a test finds its fake by it).
using TimerFactory = std::function<std::unique_ptr<Timer>(std::string_view name)>;

}  // namespace vantrel::platform
