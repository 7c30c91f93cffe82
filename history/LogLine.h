#pragma once

// One line of a log file as the data logger writes it (logging/LogFormat.h): a
// record, whose stamp is told from its shape, or the header.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "logging/LogFormat.h"
#include "platform/Clock.h"

namespace vantrel::history {

// A line that reads as a record. A leading whole number may be a serial number or
// the first value of an unstamped record: `leadingNumber` says it may be either
// (the values then hold it, after `number`).
struct RecordLine {
    StampStyle stamp = StampStyle::None;
    platform::DateTime when;     // DateAndTime, Time (date fields unset) and Iso
    std::int64_t number = 0;     // Serial, or the leading whole number
    bool leadingNumber = false;  // StampStyle::None whose first value is a whole number
    // The leading number and the comma after it may instead be the whole part and
    // decimal comma of the first value, which `values` then hold: read the line
    // again with the stamp announced as serial to have it the other way.
    bool leadingDecimal = false;
    std::vector<float> values;
};

// The record in `line` (no line end), or nothing when it is not one. A header's
// stamp style, when there was one, tells a serial number from a first value with a
// decimal comma. An empty value is NaN.
std::optional<RecordLine> ReadRecord(std::string_view line,
                                     std::optional<StampStyle> announced = std::nullopt);

}  // namespace vantrel::history
