#include "platform/qt/QtTimer.h"

namespace vantrel::platform {

namespace {
constexpr qint64 kNsPerMs = 1000000;
}  // namespace

QtTimer::QtTimer(QObject* parent, const QString& name) : timer_(new QTimer(parent)) {
    timer_->setObjectName(name);
    timer_->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer_, &QTimer::timeout, timer_, [this] { onTimeout(); });
}

QtTimer::~QtTimer() {
    delete timer_;
}

void QtTimer::start(int intervalMs, bool singleShot) {
    singleShot_ = singleShot;
    intervalNs_ = static_cast<qint64>(intervalMs) * kNsPerMs;
    started_.start();
    if (timer_) {
        timer_->setSingleShot(singleShot);
        timer_->start(intervalMs);
    }
}

void QtTimer::stop() {
    if (timer_) {
        timer_->stop();
    }
}

bool QtTimer::isActive() const {
    return timer_ && timer_->isActive();
}

void QtTimer::onTimeout() {
    if (singleShot_) {
        const qint64 left = intervalNs_ - started_.nsecsElapsed();
        if (left > 0) {
            // Rounded up, so the second wait cannot be short as well.
            timer_->start(static_cast<int>((left + kNsPerMs - 1) / kNsPerMs));
            return;
        }
    }
    fire();
}

}  // namespace vantrel::platform
