#pragma once

// Moments as numbers and as ISO 8601 texts, for whatever leaves the program with a
// time attached (log stamps, exported rows, published values).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace vantrel::platform {

// Milliseconds since 1970-01-01T00:00:00Z.
std::int64_t UtcMilliseconds(const DateTime& local);
// The local civil time of a moment, at the given offset from UTC.
DateTime LocalDateTime(std::int64_t utcMilliseconds, int utcOffsetMinutes);

// "2026-12-06T14:05:09.250+01:00": local time with its offset.
std::string IsoLocalText(const DateTime& local);
// "2026-12-06T13:05:09.250Z": the same moment in UTC.
std::string IsoUtcText(const DateTime& local);

// Reading them back. A real day of the calendar (29 February only in leap years).
bool IsValidDate(const DateTime& t);
// "hh:mm:ss" on the 24-hour clock at the start of text, into t's time fields.
bool ReadTimeOfDay(std::string_view text, DateTime& t);
// Either ISO text above at the start of text, into t (the offset 0 for "Z"): the
// length read, 0 when text does not start with one.
std::size_t ReadIsoText(std::string_view text, DateTime& t);

}  // namespace vantrel::platform
