#include "views/TrendClipping.h"

#include <algorithm>
#include <cmath>

namespace vantrel {

namespace {

// A value far beyond the range puts an end point millions of units away, or at
// infinity; pulled in to here the segment's slope over the area does not visibly
// change, and the cut below keeps its precision in double.
constexpr double kFar = 1e9;
constexpr double kLow = kTrendPlotMin;
constexpr double kHigh = kTrendPlotMax;

double tame(float v) {
    return std::isnan(v) ? static_cast<double>(v) : std::clamp(static_cast<double>(v), -kFar, kFar);
}

}  // namespace

std::optional<TrendLine> PlotAreaPart(const TrendLine& line) {
    const double x1 = tame(line.x1), y1 = tame(line.y1);
    const double x2 = tame(line.x2), y2 = tame(line.y2);
    if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) {
        return std::nullopt;
    }
    // Liang-Barsky: the part t0..t1 of the segment that is inside all four edges.
    const double dx = x2 - x1, dy = y2 - y1;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - kLow, kHigh - x1, y1 - kLow, kHigh - y1};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) {
                return std::nullopt;
            }
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return std::nullopt;
        }
    }
    // Rounding may leave an end a hair outside; the edge is where it belongs.
    const auto inside = [](double v) { return static_cast<float>(std::clamp(v, kLow, kHigh)); };
    return TrendLine{line.color, inside(x1 + t0 * dx), inside(y1 + t0 * dy), inside(x1 + t1 * dx),
                     inside(y1 + t1 * dy)};
}

}  // namespace vantrel
