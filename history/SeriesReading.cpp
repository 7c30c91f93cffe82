#include "history/SeriesReading.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantrel::history {

namespace {

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();
// Cursor statistics read whole frames up to this many items (a day of one card).
constexpr std::size_t kStatsItems = 4'000'000;

template <typename Visit>
void ForEachItem(const std::vector<Piece>& pieces, Visit visit) {
    for (const Piece& p : pieces) {
        for (std::size_t i = p.begin; i < p.end; ++i) {
            visit(p.level, i);
        }
    }
}

double Middle(const ReducingSeries& series, int level, std::size_t i) {
    return 0.5 * (static_cast<double>(series.itemFirst(level, i)) +
                  static_cast<double>(series.itemLast(level, i)));
}

}  // namespace

std::vector<PlotPoint> PlotPoints(const ReducingSeries& series, int channel, std::int64_t x0,
                                  std::int64_t x1, int columns, std::int64_t breakGap) {
    std::vector<PlotPoint> points;
    if (x1 < x0 || columns <= 0 || channel < 0 || channel >= series.channels()) {
        return points;
    }
    // The finest level that gives at most a level's fan-out of items per column, so
    // that every column still gets items of its own.
    const std::size_t budget = 2 * static_cast<std::size_t>(columns);
    const std::vector<Piece> pieces =
        series.pieces(series.levelFor(x0, x1, static_cast<std::size_t>(kFanOut) * columns), x0, x1);
    std::size_t items = 0;
    for (const Piece& p : pieces) {
        items += p.end - p.begin;
    }
    const bool perColumn = items > budget;
    const double width = std::max(1.0, static_cast<double>(x1 - x0)) / columns;

    std::int64_t previousLast = 0;
    bool havePrevious = false;
    int column = -1;
    float low = 0.0f;
    float high = 0.0f;
    auto flush = [&] {
        if (column < 0) {
            return;
        }
        const double x = static_cast<double>(x0) + (column + 0.5) * width;
        points.push_back({x, low});
        if (high != low) {
            points.push_back({x, high});
        }
        column = -1;
    };
    ForEachItem(pieces, [&](int level, std::size_t i) {
        const std::int64_t first = series.itemFirst(level, i);
        if (havePrevious && breakGap > 0 && first - previousLast > breakGap) {
            flush();
            points.push_back({0.5 * static_cast<double>(first + previousLast), kGap});
        }
        havePrevious = true;
        previousLast = series.itemLast(level, i);
        const ChannelStat stat = series.stat(level, i, channel);
        const double middle = Middle(series, level, i);
        if (stat.count == 0) {
            flush();
            points.push_back({middle, kGap});
            return;
        }
        if (!perColumn) {
            points.push_back({middle, stat.min});
            if (stat.max != stat.min) {
                points.push_back({middle, stat.max});
            }
            return;
        }
        const int at = std::clamp(static_cast<int>((middle - static_cast<double>(x0)) / width), 0,
                                  columns - 1);
        if (at != column) {
            flush();
            column = at;
            low = stat.min;
            high = stat.max;
        } else {
            low = std::min(low, stat.min);
            high = std::max(high, stat.max);
        }
    });
    flush();
    return points;
}

std::optional<float> ValueAt(const ReducingSeries& series, int channel, std::int64_t x) {
    if (channel < 0 || channel >= series.channels()) {
        return std::nullopt;
    }
    for (int level = 0; level < kLevels; ++level) {
        const std::size_t n = series.count(level);
        if (n == 0 || series.itemFirst(level, 0) > x) {
            continue;
        }
        // The last item that starts at or before x.
        std::size_t low = 0;
        std::size_t high = n;
        while (high - low > 1) {
            const std::size_t mid = (low + high) / 2;
            (series.itemFirst(level, mid) <= x ? low : high) = mid;
        }
        return series.stat(level, low, channel).mean;
    }
    return std::nullopt;
}

RangeStats StatsBetween(const ReducingSeries& series, int channel, std::int64_t x0,
                        std::int64_t x1) {
    RangeStats result;
    if (x1 < x0 || channel < 0 || channel >= series.channels()) {
        return result;
    }
    const std::vector<Piece> pieces = series.pieces(series.levelFor(x0, x1, kStatsItems), x0, x1);
    double sum = 0.0;
    ForEachItem(pieces, [&](int level, std::size_t i) {
        const ChannelStat stat = series.stat(level, i, channel);
        if (stat.count == 0) {
            return;
        }
        result.min = result.count == 0 ? stat.min : std::min(result.min, stat.min);
        result.max = result.count == 0 ? stat.max : std::max(result.max, stat.max);
        sum += static_cast<double>(stat.mean) * stat.count;
        result.count += stat.count;
    });
    if (result.count > 0) {
        result.mean = sum / static_cast<double>(result.count);
    }
    return result;
}

}  // namespace vantrel::history
