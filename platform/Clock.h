#pragma once

// Current date and time of day, behind an interface so tests choose the time.

#include <cstdint>

namespace vantrel::platform {

// Local civil time as the clock read it.
struct DateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    // Local time minus UTC at that moment (+60 in Central European winter time), so
    // that a time written down stays unambiguous across a daylight-saving change.
    int utcOffsetMinutes = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};

}  // namespace vantrel::platform
