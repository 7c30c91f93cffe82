#pragma once

// Current date and time of day, behind an interface so tests choose the time.

namespace vantrel::platform {

struct DateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
};

}  // namespace vantrel::platform
