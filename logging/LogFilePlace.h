#pragma once

// Where a log stands in its file, as a later start needs it to go on there: which
// file, the day its records belong to, and the serial number before its first.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Clock.h"

namespace vantrel {

struct LogFilePlace {
    std::string path;
    // The day of the file's first record; nothing until it has one.
    std::optional<std::chrono::year_month_day> day;
    // Serial numbers in the file go on from this one (0 for a log's first file).
    std::int32_t serialBefore = 0;

    bool operator==(const LogFilePlace&) const = default;
};

inline std::chrono::year_month_day DayOf(const platform::DateTime& when) {
    using namespace std::chrono;
    return year_month_day{year{when.year}, month{static_cast<unsigned>(when.month)},
                          day{static_cast<unsigned>(when.day)}};
}

}  // namespace vantrel
