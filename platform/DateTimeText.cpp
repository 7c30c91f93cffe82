#include "platform/DateTimeText.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace vantrel::platform {

namespace {

constexpr std::int64_t kMsPerMinute = 60'000;
constexpr std::int64_t kMsPerDay = 86'400'000;

// Floor division, so that moments before 1970 fall on the right day.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

std::string IsoText(const DateTime& t, const char* zone) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03d%s", t.year, t.month, t.day,
                  t.hour, t.minute, t.second, t.millisecond, zone);
    return text;
}

}  // namespace

std::int64_t UtcMilliseconds(const DateTime& local) {
    using namespace std::chrono;
    const year_month_day date{year{local.year}, month{static_cast<unsigned>(local.month)},
                              day{static_cast<unsigned>(local.day)}};
    const std::int64_t days = sys_days{date}.time_since_epoch().count();
    const std::int64_t ms = days * kMsPerDay +
                            ((local.hour * 60LL + local.minute) * 60 + local.second) * 1000 +
                            local.millisecond;
    return ms - local.utcOffsetMinutes * kMsPerMinute;
}

DateTime LocalDateTime(std::int64_t utcMilliseconds, int utcOffsetMinutes) {
    using namespace std::chrono;
    const std::int64_t local = utcMilliseconds + utcOffsetMinutes * kMsPerMinute;
    const std::int64_t days = FloorDiv(local, kMsPerDay);
    const std::int64_t inDay = local - days * kMsPerDay;
    const year_month_day date{sys_days{std::chrono::days{days}}};
    DateTime t;
    t.year = static_cast<int>(date.year());
    t.month = static_cast<int>(static_cast<unsigned>(date.month()));
    t.day = static_cast<int>(static_cast<unsigned>(date.day()));
    t.hour = static_cast<int>(inDay / 3'600'000);
    t.minute = static_cast<int>(inDay / kMsPerMinute % 60);
    t.second = static_cast<int>(inDay / 1000 % 60);
    t.millisecond = static_cast<int>(inDay % 1000);
    t.utcOffsetMinutes = utcOffsetMinutes;
    return t;
}

std::string IsoLocalText(const DateTime& local) {
    const int offset = std::abs(local.utcOffsetMinutes);
    char zone[8];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", local.utcOffsetMinutes < 0 ? '-' : '+',
                  offset / 60 % 100, offset % 60);
    return IsoText(local, zone);
}

std::string IsoUtcText(const DateTime& local) {
    return IsoText(LocalDateTime(UtcMilliseconds(local), 0), "Z");
}

}  // namespace vantrel::platform
