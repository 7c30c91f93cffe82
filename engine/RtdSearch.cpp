#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/RtdPolynomial.h"
#include "engine/RtdSearch.h"

namespace vantrel {

namespace {

// The temperatures the step-by-step walk visits (each the previous plus 0.1, so
// they drift from exact tenths) and the curve at each. The curve rises over the
// whole range, by far more than its rounding error per step, so the walk stops
// at the step before the first grid point where the curve exceeds the ratio.
struct RtdGrid {
    std::vector<double> temperature;
    std::vector<double> ratio;

    RtdGrid() {
        double t = rtd::kSearchStart;
        for (;;) {
            temperature.push_back(t);
            ratio.push_back(rtd::ResistanceRatio(t));
            if (!(t < rtd::kSearchLimit)) {
                break;
            }
            t = t + rtd::kStep;
        }
    }
};

const RtdGrid& Grid() {
    static const RtdGrid grid;
    return grid;
}

// Where the curve reaches the ratio, from the inverse of the quadratic, as a grid
// index. Only a starting point: the exact step is then found by comparing with
// the grid itself, so the guess may be off by a step or two without harm.
std::size_t GuessIndex(double ratio, std::size_t last) {
    const double a = rtd::kCoefficientA;
    const double b = rtd::kCoefficientB;
    const double t = (a - std::sqrt(a * a - 4.0 * b * ratio)) / (2.0 * b);
    const double index = (t - rtd::kSearchStart) / rtd::kStep;
    if (!(index > 0.0)) {
        return 0;
    }
    return std::min(static_cast<std::size_t>(index), last);
}

}  // namespace

double RtdTemperature(std::int16_t count, std::int16_t referenceCount) {
    const double ratio = rtd::CountRatio(count, referenceCount) - 1.0;
    const RtdGrid& grid = Grid();
    const std::vector<double>& curve = grid.ratio;
    const std::size_t last = curve.size() - 1;  // the first grid point at or above 850
    if (!(ratio < curve[last])) {
        return grid.temperature[last];  // beyond the curve's top (or no ratio at all)
    }
    if (ratio < curve[0]) {
        return grid.temperature[0] + rtd::kHalfStep;
    }
    // The first grid point above the ratio: curve[0] <= ratio < curve[last].
    std::size_t above = GuessIndex(ratio, last);
    while (curve[above] > ratio) {
        --above;
    }
    while (curve[above] <= ratio) {
        ++above;
    }
    const std::size_t step = above - 1;
    if (curve[step] == ratio) {
        return grid.temperature[step];
    }
    return grid.temperature[step] + rtd::kHalfStep;
}

}  // namespace vantrel
