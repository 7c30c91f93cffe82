#pragma once

#include "platform/Clock.h"

namespace vantrel::platform {

class QtClock : public Clock {
  public:
    DateTime now() const override;
};

}  // namespace vantrel::platform
