#include "app/QtRunTimers.h"

#include <memory>

#include "platform/qt/QtTimer.h"

namespace vantrel {

acquisition::RunTimers QtRunTimers() {
    using platform::QtTimer;
    acquisition::RunTimers timers;
    timers.pause = std::make_unique<QtTimer>(nullptr, QStringLiteral("tmrDelay"));
    for (auto& reopen : timers.reopen) {
        reopen = std::make_unique<QtTimer>();
    }
    timers.logTick = std::make_unique<QtTimer>(nullptr, QStringLiteral("tmrSave"));
    for (auto& watch : timers.watch) {
        watch = std::make_unique<QtTimer>();
    }
    return timers;
}

}  // namespace vantrel
