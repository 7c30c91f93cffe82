#include "platform/qt/QtTimer.h"

namespace vantrel::platform {

QtTimer::QtTimer() {
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { fire(); });
}

void QtTimer::start(int intervalMs, bool singleShot) {
    timer_.setSingleShot(singleShot);
    timer_.start(intervalMs);
}

void QtTimer::stop() {
    timer_.stop();
}

bool QtTimer::isActive() const {
    return timer_.isActive();
}

}  // namespace vantrel::platform
