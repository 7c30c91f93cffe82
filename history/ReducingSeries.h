#pragma once

// A time series of frames (one position on the x axis, a value per channel) that
// keeps the newest frames whole and older ones as buckets of minimum, maximum and
// mean, so that a run of any length fits in bounded memory and its peaks stay
// visible. Beside the whole frames it keeps three levels of buckets, each bucket
// summing 32 items of the level below: any range can then be read at a resolution
// near the one asked for, whatever the length of the run.
//
// x must not decrease; a smaller x is taken as the last one (a clock stepped back
// would otherwise unsort the series). Appending costs a bounded amount of work.

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <vector>

namespace vantrel::history {

inline constexpr int kSummaryLevels = 3;
inline constexpr int kLevels = kSummaryLevels + 1;  // level 0 holds the whole frames
inline constexpr int kFanOut = 32;

// How much each level keeps before its oldest items go; 0 keeps everything.
struct SeriesLimits {
    std::size_t frames = 0;
    std::array<std::size_t, kSummaryLevels> buckets{};
};

// A whole day of both cards at full resolution in about 110 MB: a card sends about
// 15.5 frames a second, and 16 frames a second leave room for a fast one.
inline constexpr SeriesLimits kLiveLimits{24 * 3600 * 16, {49'152, 16'384, 0}};

// Limits under which a series of `channels` channels holds at most `bytes` (by
// memoryBytes): half for whole frames, the rest for the buckets, most for the finest.
// Below the least that every level must keep, the series holds more.
SeriesLimits LimitsWithin(std::size_t bytes, int channels);

// What one item (a frame or a bucket) holds for one channel. A frame gives its value
// as minimum, maximum and mean; a value that is not a number counts for nothing.
struct ChannelStat {
    float min = std::numeric_limits<float>::quiet_NaN();
    float max = std::numeric_limits<float>::quiet_NaN();
    float mean = std::numeric_limits<float>::quiet_NaN();
    std::uint32_t count = 0;
};

// Items of one level, [begin, end) by index, oldest first.
struct Piece {
    int level = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
};

class ReducingSeries {
  public:
    explicit ReducingSeries(int channels, SeriesLimits limits = {});

    void append(std::int64_t x, const float* values);
    // Keeps at most this much from now on; the oldest items of a level over its new
    // limit go at once, still summed up in the coarser levels.
    void setLimits(SeriesLimits limits);

    int channels() const { return channels_; }
    bool empty() const { return xs_.empty() && levels_[0].first.empty(); }
    // Total frames ever appended.
    std::uint64_t appended() const { return appended_; }
    // The first and the last x held, at any level.
    std::int64_t firstX() const;
    std::int64_t lastX() const { return lastX_; }

    std::size_t count(int level) const;
    std::int64_t itemFirst(int level, std::size_t index) const;
    std::int64_t itemLast(int level, std::size_t index) const;
    ChannelStat stat(int level, std::size_t index, int channel) const;

    // visit(first, last, stat) for each item of the piece, oldest first; walks the
    // storage in order, which is much cheaper than looking each item up.
    template <typename Visit>
    void forEachItem(const Piece& piece, int channel, Visit visit) const;

    // The items that together cover [x0, x1] once, oldest first: those of `level`
    // where it holds data, coarser levels for older times it no longer holds, finer
    // ones for the newest times it has not summed up yet.
    std::vector<Piece> pieces(int level, std::int64_t x0, std::int64_t x1) const;
    // The finest level whose pieces for [x0, x1] hold at most maxItems items.
    int levelFor(std::int64_t x0, std::int64_t x1, std::size_t maxItems) const;

    // Bytes held by the frames and buckets.
    std::size_t memoryBytes() const;

  private:
    struct Accumulator {
        std::int64_t first = 0;
        std::int64_t last = 0;
        int items = 0;
        std::vector<float> min;
        std::vector<float> max;
        std::vector<double> sum;
        std::vector<std::uint32_t> count;
    };
    struct Level {
        std::deque<std::int64_t> first;
        std::deque<std::int64_t> last;
        std::deque<ChannelStat> stats;  // channels per bucket
        Accumulator open;
    };

    void spanOpen(int summary, std::int64_t first, std::int64_t last);
    void addToOpen(int summary, int channel, const ChannelStat& stat);
    void closeOpen(int summary);
    void trim();
    static SeriesLimits Kept(SeriesLimits limits);
    void resetAccumulator(Accumulator& open) const;

    int channels_;
    SeriesLimits limits_;
    std::deque<std::int64_t> xs_;
    std::deque<float> values_;  // channels per frame
    std::array<Level, kSummaryLevels> levels_;
    std::int64_t lastX_ = std::numeric_limits<std::int64_t>::min();
    std::uint64_t appended_ = 0;
};

template <typename Visit>
void ReducingSeries::forEachItem(const Piece& piece, int channel, Visit visit) const {
    const auto n = static_cast<std::ptrdiff_t>(piece.end - piece.begin);
    const auto begin = static_cast<std::ptrdiff_t>(piece.begin);
    const auto step = static_cast<std::ptrdiff_t>(channels_);
    if (n <= 0) {
        return;
    }
    if (piece.level == 0) {
        auto x = xs_.begin() + begin;
        auto value = values_.begin() + begin * step + channel;
        for (std::ptrdiff_t i = 0; i < n; ++i, ++x) {
            const float v = *value;
            visit(*x, *x, v != v ? ChannelStat{} : ChannelStat{v, v, v, 1});
            if (i + 1 < n) {
                value += step;
            }
        }
        return;
    }
    const Level& level = levels_[static_cast<std::size_t>(piece.level) - 1];
    auto first = level.first.begin() + begin;
    auto last = level.last.begin() + begin;
    auto stat = level.stats.begin() + begin * step + channel;
    for (std::ptrdiff_t i = 0; i < n; ++i, ++first, ++last) {
        visit(*first, *last, *stat);
        if (i + 1 < n) {
            stat += step;
        }
    }
}

}  // namespace vantrel::history
