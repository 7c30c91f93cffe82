#include <algorithm>
#include <limits>
#include <vector>

#include "engine/ModMain.h"
#include "engine/RtdPolynomial.h"

namespace vantrel::modMain {

namespace {

// The temperatures the step-by-step walk visits (each the previous plus 0.1, so
// they drift from exact tenths) and the curve at each. The curve rises over the
// whole range, by far more than its rounding error per step, so a binary search
// over these values finds the step the walk would stop at.
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

double Quotient(std::int16_t count, std::int16_t reference) {
    if (reference != 0) {
        return static_cast<double>(count) / reference;
    }
    if (count == 0) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return count > 0 ? std::numeric_limits<double>::infinity()
                     : -std::numeric_limits<double>::infinity();
}

}  // namespace

double RtdTemperature(std::int16_t count, std::int16_t referenceCount) {
    const double ratio = Quotient(count, referenceCount) - 1.0;
    const RtdGrid& grid = Grid();
    const std::size_t last = grid.ratio.size() - 1;  // the first grid point at or above the limit
    // The walk stops at step k when the curve hits the ratio exactly at k or first
    // exceeds it at k + 1; with a rising curve that is the step before the first
    // grid point above the ratio.
    const auto above = static_cast<std::size_t>(
        std::upper_bound(grid.ratio.begin(), grid.ratio.end(), ratio) - grid.ratio.begin());
    if (above > last) {
        return grid.temperature[last];
    }
    const std::size_t step = above == 0 ? 0 : above - 1;
    if (grid.ratio[step] == ratio) {
        return grid.temperature[step];
    }
    return grid.temperature[step] + rtd::kHalfStep;
}

}  // namespace vantrel::modMain
