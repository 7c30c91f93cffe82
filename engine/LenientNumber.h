#pragma once

#include <string_view>

namespace vantrel {

// The forgiving reading the cards' analog fields get: blanks, tabs and line feeds
// anywhere are ignored, then the longest leading number (sign, digits, decimal
// point, exponent) is taken; no number at all reads as 0. Exponents beyond the
// double range give an infinity (or zero for a tiny value).
double ReadLenientNumber(std::string_view field);

}  // namespace vantrel
