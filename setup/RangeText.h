#pragma once

// The input range is typed as free text; these turn it into the stored number and
// back.

#include <string>
#include <string_view>

namespace vantrel {

// The number at the start of the text, read the forgiving way users expect from a
// range box: blanks, tabs and line feeds anywhere are ignored ("1 5" is 15), an
// optional sign, digits with a "." and an exponent; reading stops at the first
// character that cannot continue the number ("12.5 V" is 12.5); no number gives 0.
// Whatever the user's locale, "." is the decimal point. A number too large for a
// double gives 0 rather than an infinity that would poison every conversion.
double InputRangeValue(std::string_view text);

// Plain decimal without trailing zeros or exponent: 10 -> "10", 2.5 -> "2.5".
std::string RangeDisplayText(double value);

}  // namespace vantrel
