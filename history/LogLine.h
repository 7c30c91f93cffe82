#pragma once

// One line of a log file as the data logger writes it: optional stamp fields, each
// ended by a comma whatever the separator, then the values joined by ",", four
// spaces or one space. Or the header: the stamp columns' names, then the channel
// names, quoted when they hold the separator or a comma.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"

namespace vantrel::history {

enum class Stamp {
    None,      // values only
    Serial,    // "17,"
    DateTime,  // "06/12/26,14:05:09,"
    Time,      // "14:05:09,"
    Iso,       // "2026-12-06T14:05:09.250+01:00,"
};

// A line that reads as a record. A leading whole number may be a serial number or
// the first value of an unstamped record: `leadingNumber` says it may be either
// (the values then hold it, after `number`).
struct RecordLine {
    Stamp stamp = Stamp::None;
    platform::DateTime when;     // DateTime, Time (date fields unset) and Iso
    std::int64_t number = 0;     // Serial, or the leading whole number
    bool leadingNumber = false;  // Stamp::None whose first value is a whole number
    std::vector<float> values;
};

// The record in `line` (no line end), or nothing when it is not one.
std::optional<RecordLine> ReadRecord(std::string_view line);

// The stamp announced by a header's first columns ("SN,", "DATE,TIME,", "TIME,",
// "TIMESTAMP,"), and where the channel names begin; nothing for other lines.
struct HeaderStart {
    Stamp stamp = Stamp::None;
    std::size_t namesAt = 0;
};
std::optional<HeaderStart> ReadHeaderStart(std::string_view line);

// The separator that a record's values use: ",", four spaces or one space; nothing
// for a single value.
std::optional<std::string_view> ValueSeparator(std::string_view line, Stamp stamp);

// The names of a header's channel columns, split at `separator` outside double
// quotes, quotes removed.
std::vector<std::string> SplitNames(std::string_view names, std::string_view separator);

}  // namespace vantrel::history
