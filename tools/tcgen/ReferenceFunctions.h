#pragma once

// ITS-90 thermocouple reference functions (NIST Monograph 175): thermoelectric
// voltage in millivolts at a temperature in degrees Celsius.

namespace vantrel::tcgen {

double TypeJMillivolts(double celsius);
double TypeKMillivolts(double celsius);

}  // namespace vantrel::tcgen
