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

bool Digits(std::string_view text, std::size_t at, std::size_t count, int& out) {
    if (at + count > text.size()) {
        return false;
    }
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    out = value;
    return true;
}

bool Is(std::string_view text, std::size_t at, char c) {
    return at < text.size() && text[at] == c;
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

bool IsValidDate(const DateTime& t) {
    using namespace std::chrono;
    return year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                          day{static_cast<unsigned>(t.day)}}
        .ok();
}

bool ReadTimeOfDay(std::string_view text, DateTime& t) {
    return Digits(text, 0, 2, t.hour) && Is(text, 2, ':') && Digits(text, 3, 2, t.minute) &&
           Is(text, 5, ':') && Digits(text, 6, 2, t.second) && t.hour < 24 && t.minute < 60 &&
           t.second < 60;
}

std::size_t ReadIsoText(std::string_view text, DateTime& t) {
    // "2026-12-06T14:05:09.250" is 23 characters, then "Z" or "+01:00".
    constexpr std::size_t kZoneAt = 23;
    if (!(Digits(text, 0, 4, t.year) && Is(text, 4, '-') && Digits(text, 5, 2, t.month) &&
          Is(text, 7, '-') && Digits(text, 8, 2, t.day) && Is(text, 10, 'T') &&
          ReadTimeOfDay(text.substr(11), t) && Is(text, 19, '.') &&
          Digits(text, 20, 3, t.millisecond) && IsValidDate(t))) {
        return 0;
    }
    if (Is(text, kZoneAt, 'Z')) {
        t.utcOffsetMinutes = 0;
        return kZoneAt + 1;
    }
    int hours = 0;
    int minutes = 0;
    if (!((Is(text, kZoneAt, '+') || Is(text, kZoneAt, '-')) &&
          Digits(text, kZoneAt + 1, 2, hours) && Is(text, kZoneAt + 3, ':') &&
          Digits(text, kZoneAt + 4, 2, minutes) && hours < 24 && minutes < 60)) {
        return 0;
    }
    const int sign = text[kZoneAt] == '-' ? -1 : 1;
    t.utcOffsetMinutes = sign * (hours * 60 + minutes);
    return kZoneAt + 6;
}

}  // namespace vantrel::platform
