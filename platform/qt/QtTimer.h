#pragma once

#include <QTimer>

#include "platform/Timer.h"

namespace vantrel::platform {

class QtTimer : public Timer {
  public:
    QtTimer();
    void start(int intervalMs, bool singleShot) override;
    void stop() override;
    bool isActive() const override;

  private:
    QTimer timer_;
};

}  // namespace vantrel::platform
