#pragma once

// Where vantrel.ini as written by hand reads other than it looks. QSettings ends a
// value at a ';' outside double quotes (the rest of the line is a comment), so
// "password=right;pass" gives "right", and a '"' starts a quoted text that runs on
// over the following lines until the next '"'. Neither can be seen in the values
// read, so the file's own text is scanned the same way. '#' is an ordinary
// character in a value.

#include <string_view>
#include <vector>

#include "settings/IniValues.h"

namespace vantrel::ini {

// One problem per key: CutAtSemicolon when a ';' ends a value right after a
// character of it (a comment after a blank, "port=1883 ; default", is meant),
// UnclosedQuote when a value's quote runs past its line.
std::vector<Problem> QuotingProblems(std::string_view fileText);

}  // namespace vantrel::ini
