#pragma once

#include <string_view>

namespace vantrel {

// The number a text begins with, after leading blanks: "250 units" gives 250,
// "1e3" gives 1000. A text that does not begin with a number gives 0; one too
// large for a double gives plus or minus infinity. The decimal separator is
// always a period, whatever the user's locale.
double LeadingNumber(std::string_view text);

}  // namespace vantrel
