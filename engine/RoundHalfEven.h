#pragma once

// Rounding to a whole number with halves going to the even neighbour, as counts and
// temperatures are rounded throughout. Written out rather than calling nearbyint,
// which is a library call on the baseline x86-64 instruction set and sits on the
// path of every channel of every frame.

#include <optional>

namespace vantrel {

// Nothing for a value outside the 32-bit range or not a number.
inline std::optional<int> RoundHalfEven(double value) {
    if (!(value > -2147483648.0 && value < 2147483647.0)) {
        return std::nullopt;
    }
    int whole = static_cast<int>(value);    // toward zero
    const double fraction = value - whole;  // exact: both lie in the same binade or below
    if (fraction > 0.5 || (fraction == 0.5 && (whole & 1) != 0)) {
        ++whole;
    } else if (fraction < -0.5 || (fraction == -0.5 && (whole & 1) != 0)) {
        --whole;
    }
    return whole;
}

}  // namespace vantrel
