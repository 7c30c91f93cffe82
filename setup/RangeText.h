#pragma once

// The input range is typed as free text and read with the engine's leading-number
// reader (number_rules::kInputRange); this writes the stored number back into the
// box so that reading it again gives the same number.

#include <string>

namespace vantrel {

// Plain decimal with a period, without trailing zeros or exponent: 10 -> "10",
// 2.5 -> "2.5". The period stays under every locale: the box is read with one.
std::string RangeDisplayText(double value);

}  // namespace vantrel
