#pragma once

#include "platform/Clock.h"

namespace vantrel::testing {

class FakeClock : public platform::Clock {
  public:
    platform::DateTime current;
    platform::DateTime now() const override { return current; }
};

}  // namespace vantrel::testing
