#pragma once

#include <string>

namespace vantrel::tcgen {

// One value a line with 3 decimals (microvolt resolution), CR LF line ends like
// every other text file of the program. Zero is never written "-0.000".
std::string TableText(double (*millivolts)(double), int firstCelsius, int lastCelsius);

}  // namespace vantrel::tcgen
