#pragma once

// The text of one logged value: general decimal form with at most seven
// significant digits, the same whatever the user's locale.

#include <string>

namespace vantrel {

// Plain notation while the rounded value's decimal exponent is -4..6 ("0.5", "-2",
// "1234567", "0.0001"), otherwise mantissa, "E", sign and at least two exponent
// digits ("1.234568E+07", "1E-05"). No trailing zeros or point; zero is "0".
std::string ValueText(float value);

}  // namespace vantrel
