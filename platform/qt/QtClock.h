#pragma once

// The computer's clock and its time zone: the one place that knows how far local
// time is from UTC at a moment.

#include <cstdint>

#include "platform/Clock.h"

namespace vantrel::platform {

// Local time minus UTC, in minutes, at a moment (milliseconds since 1970, UTC).
int UtcOffsetMinutesAt(std::int64_t utcMilliseconds);
// The moment a local civil time names, as the time zone has it then (its
// utcOffsetMinutes not read).
std::int64_t LocalTimeToUtcMilliseconds(const DateTime& local);

class QtClock : public Clock {
  public:
    DateTime now() const override;
};

}  // namespace vantrel::platform
