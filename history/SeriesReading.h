#pragma once

// Reading a series back: the points that draw a range at a given width, the value
// under a cursor and the statistics between two cursors.

#include <cstdint>
#include <optional>
#include <vector>

#include "history/ReducingSeries.h"

namespace vantrel::history {

// A point to draw; a y that is not a number breaks the line there.
struct PlotPoint {
    double x = 0.0;
    double y = 0.0;
};

// The points of one channel over [x0, x1] for a plot `columns` pixels wide. When
// the range holds more items than two per column, each column gets its minimum
// and maximum only, so the cost follows the width and not the length, and no peak
// is lost. Items further apart than breakGap (0: never) leave a gap in the line.
std::vector<PlotPoint> PlotPoints(const ReducingSeries& series, int channel, std::int64_t x0,
                                  std::int64_t x1, int columns, std::int64_t breakGap = 0);

// The newest value at or before x; nothing before the first item. Older than the
// whole frames kept, it is the mean of the bucket there.
std::optional<float> ValueAt(const ReducingSeries& series, int channel, std::int64_t x);

struct RangeStats {
    float min = 0.0f;
    float max = 0.0f;
    double mean = 0.0;
    std::uint64_t count = 0;  // values that went in; 0 when there were none
};

// Minimum, maximum and mean of the channel's values in [x0, x1]: exact over whole
// frames, whole buckets where only buckets are left.
RangeStats StatsBetween(const ReducingSeries& series, int channel, std::int64_t x0,
                        std::int64_t x1);

}  // namespace vantrel::history
