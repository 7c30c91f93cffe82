#include "history/SeriesReading.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vantrel::history {

namespace {

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();
// The finest level with at most this many items a column is read: each level is 32
// times coarser than the one below, so a column still gets a quarter item or more,
// and every item carries its minimum and maximum.
constexpr std::size_t kItemsPerColumn = 8;
// Cursor statistics read whole frames up to this many items (a day of one card).
constexpr std::size_t kStatsItems = 4'000'000;

}  // namespace

std::vector<PlotPoint> PlotPoints(const ReducingSeries& series, int channel, std::int64_t x0,
                                  std::int64_t x1, int columns, std::int64_t breakGap) {
    std::vector<PlotPoint> points;
    if (x1 < x0 || columns <= 0 || channel < 0 || channel >= series.channels()) {
        return points;
    }
    const std::size_t budget = 2 * static_cast<std::size_t>(columns);
    const std::vector<Piece> pieces = series.pieces(
        series.levelFor(x0, x1, kItemsPerColumn * static_cast<std::size_t>(columns)), x0, x1);
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
    auto visit = [&](std::int64_t first, std::int64_t last, const ChannelStat& stat) {
        if (havePrevious && breakGap > 0 && first - previousLast > breakGap) {
            flush();
            points.push_back({0.5 * static_cast<double>(first + previousLast), kGap});
        }
        havePrevious = true;
        previousLast = last;
        const double middle = 0.5 * (static_cast<double>(first) + static_cast<double>(last));
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
    };
    for (const Piece& p : pieces) {
        series.forEachItem(p, channel, visit);
    }
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
    auto visit = [&](std::int64_t, std::int64_t, const ChannelStat& stat) {
        if (stat.count == 0) {
            return;
        }
        result.min = result.count == 0 ? stat.min : std::min(result.min, stat.min);
        result.max = result.count == 0 ? stat.max : std::max(result.max, stat.max);
        sum += static_cast<double>(stat.mean) * stat.count;
        result.count += stat.count;
    };
    for (const Piece& p : pieces) {
        series.forEachItem(p, channel, visit);
    }
    if (result.count > 0) {
        result.mean = sum / static_cast<double>(result.count);
    }
    return result;
}

}  // namespace vantrel::history
