#pragma once

// The PT-100 resistance curve and the grid its search walks. Shared by the literal
// search and the fast one so both evaluate exactly the same expressions.

#include <cstdint>
#include <limits>

namespace vantrel::rtd {

inline constexpr double kCoefficientA = 0.00390802;
inline constexpr double kCoefficientB = 5.802e-7;
inline constexpr double kSearchStart = -200.0;
inline constexpr double kSearchLimit = 850.0;
inline constexpr double kStep = 0.1;
inline constexpr double kHalfStep = 0.05;

// R/R0 - 1 at temperature t, in the order of operations the calibration assumes.
// These sources are built without floating-point contraction so a fused
// multiply-add never changes a result.
inline double ResistanceRatio(double t) {
    return t * kCoefficientA - (t * kCoefficientB) * t;
}

// count / reference as IEEE division gives it (a zero reference yields an
// infinity or NaN that the search then walks to its end), spelled out so no
// division by zero is executed.
inline double CountRatio(std::int16_t count, std::int16_t reference) {
    if (reference != 0) {
        return static_cast<double>(count) / reference;
    }
    if (count == 0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return count > 0 ? std::numeric_limits<double>::infinity()
                     : -std::numeric_limits<double>::infinity();
}

}  // namespace vantrel::rtd
