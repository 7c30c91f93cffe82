#pragma once

// The chart's lines stay inside the plot area: a value beyond the range is drawn
// up to the area's edge and no further, so that no line crosses the labels or
// leaves the grid.

#include <optional>

#include "views/TrendModel.h"

namespace vantrel {

// The part of the line inside the plot area, edges included; nothing when none of
// it is, or when a coordinate is not a number.
std::optional<TrendLine> PlotAreaPart(const TrendLine& line);

}  // namespace vantrel
