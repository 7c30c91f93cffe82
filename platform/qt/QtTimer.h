#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QTimer>

#include "platform/Timer.h"

namespace vantrel::platform {

// A precise Qt timer. A single-shot timer never ends early: a coarse timer may
// fire 5% before its time, and even a precise one rounds to whole milliseconds,
// so its end is checked against a monotonic clock and waited out when short.
class QtTimer : public Timer {
  public:
    // parent and name make the timer findable as a child object of a window.
    explicit QtTimer(QObject* parent = nullptr, const QString& name = QString());
    ~QtTimer() override;
    QtTimer(const QtTimer&) = delete;
    QtTimer& operator=(const QtTimer&) = delete;
    void start(int intervalMs, bool singleShot) override;
    void stop() override;
    bool isActive() const override;

  private:
    void onTimeout();

    // Owned here; a parent that goes first takes it along.
    QPointer<QTimer> timer_;
    QElapsedTimer started_;
    qint64 intervalNs_ = 0;
    bool singleShot_ = false;
};

}  // namespace vantrel::platform
