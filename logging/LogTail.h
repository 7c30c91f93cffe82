#pragma once

// Reading the end of a log file the logger wrote, to carry on where it stopped.

#include <cstdint>
#include <optional>
#include <string_view>

namespace vantrel {

// How much of a log's end is read to find its last record: far more than the
// longest record.
inline constexpr std::size_t kLogTailBytes = 64 * 1024;

// The serial number of the last whole record in tail (the end of a log file; the
// whole file when wholeFile, otherwise from any byte on, so its first line may be
// the end of a record and is passed over): the first field of the last line that
// ends in a line end and starts with a whole number and a comma. A last line
// without its line end was torn by a power cut, and its number may be cut short
// too, so it is passed over; so is a header. Nothing when no such line is there or
// the number does not fit.
std::optional<std::int32_t> LastSerialNumber(std::string_view tail, bool wholeFile);

}  // namespace vantrel
