#pragma once

// The thermocouple reference tables: millivolts at every whole degree, one number a
// line (or separated by commas), read once at start.

#include <optional>
#include <string>
#include <vector>

namespace vantrel {

// Reads the first `entries` numbers of the table into `into`, from the first of
// `folders` that holds a file of that name (a later folder is not tried when an
// earlier one holds a bad copy); numbers after them are ignored. Nothing on
// success, otherwise a message naming the file and what was wrong: in none of the
// folders (all are named), unreadable, too few numbers, a field that is not a
// number, or a voltage below the one before it (the searches need a rising table).
std::optional<std::string> LoadThermocoupleTable(const std::vector<std::string>& folders,
                                                 const std::string& fileName, int entries,
                                                 double* into);

}  // namespace vantrel
