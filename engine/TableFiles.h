#pragma once

// The thermocouple reference tables: millivolts at every whole degree, one number a
// line (or separated by commas), read once at start.

#include <optional>
#include <string>

namespace vantrel {

// Reads the first `entries` numbers of the file into `into`; numbers after them are
// ignored. Nothing on success, otherwise a message naming the file and what was
// wrong: missing or unreadable, too few numbers, a field that is not a number, or
// a voltage below the one before it (the searches need a rising table).
std::optional<std::string> LoadThermocoupleTable(const std::string& path,
                                                 const std::string& displayName, int entries,
                                                 double* into);

}  // namespace vantrel
