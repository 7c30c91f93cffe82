#include "history/ReducingSeries.h"

#include <algorithm>
#include <cmath>

namespace vantrel::history {

namespace {

constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kBeforeAll = std::numeric_limits<std::int64_t>::min();

// The first index in [0, n) for which the monotone predicate turns false.
template <typename Predicate>
std::size_t PartitionPoint(std::size_t n, Predicate holds) {
    std::size_t low = 0;
    while (n > 0) {
        const std::size_t half = n / 2;
        if (holds(low + half)) {
            low += half + 1;
            n -= half + 1;
        } else {
            n = half;
        }
    }
    return low;
}

}  // namespace

SeriesLimits LimitsWithin(std::size_t bytes, int channels) {
    const auto n = static_cast<std::size_t>(std::max(channels, 0));
    const std::size_t frame = sizeof(std::int64_t) + n * sizeof(float);
    const std::size_t bucket = 2 * sizeof(std::int64_t) + n * sizeof(ChannelStat);
    // 0 would keep everything.
    auto items = [](std::size_t share, std::size_t size) {
        return std::max<std::size_t>(1, share / size);
    };
    return {items(bytes / 2, frame),
            {items(bytes / 4, bucket), items(bytes / 8, bucket), items(bytes / 8, bucket)}};
}

ReducingSeries::ReducingSeries(int channels, SeriesLimits limits)
    : channels_(std::max(channels, 0)), limits_(Kept(limits)) {
    for (Level& level : levels_) {
        resetAccumulator(level.open);
    }
}

SeriesLimits ReducingSeries::Kept(SeriesLimits limits) {
    // A level must still hold the items that its coarser level's open bucket sums,
    // or the pieces would leave a hole there.
    auto atLeast = [](std::size_t& limit) {
        if (limit > 0) {
            limit = std::max<std::size_t>(limit, 2 * kFanOut);
        }
    };
    atLeast(limits.frames);
    for (std::size_t& buckets : limits.buckets) {
        atLeast(buckets);
    }
    return limits;
}

void ReducingSeries::setLimits(SeriesLimits limits) {
    limits_ = Kept(limits);
    trim();
}

void ReducingSeries::resetAccumulator(Accumulator& open) const {
    const auto n = static_cast<std::size_t>(channels_);
    open.items = 0;
    open.min.assign(n, std::numeric_limits<float>::quiet_NaN());
    open.max.assign(n, std::numeric_limits<float>::quiet_NaN());
    open.sum.assign(n, 0.0);
    open.count.assign(n, 0);
}

void ReducingSeries::append(std::int64_t x, const float* values) {
    x = std::max(x, lastX_);
    lastX_ = x;
    ++appended_;
    xs_.push_back(x);
    values_.insert(values_.end(), values, values + channels_);
    spanOpen(0, x, x);
    for (int c = 0; c < channels_; ++c) {
        const float v = values[c];
        addToOpen(0, c, std::isnan(v) ? ChannelStat{} : ChannelStat{v, v, v, 1});
    }
    if (++levels_[0].open.items == kFanOut) {
        closeOpen(0);
    }
    trim();
}

void ReducingSeries::spanOpen(int summary, std::int64_t first, std::int64_t last) {
    Accumulator& open = levels_[static_cast<std::size_t>(summary)].open;
    if (open.items == 0) {
        open.first = first;
    }
    open.last = last;
}

void ReducingSeries::addToOpen(int summary, int channel, const ChannelStat& stat) {
    Accumulator& open = levels_[static_cast<std::size_t>(summary)].open;
    if (stat.count == 0) {
        return;
    }
    const auto c = static_cast<std::size_t>(channel);
    // The open bucket starts at NaN, which compares false, so the first real value
    // sets both; a comparison spares a library call per value read from a log.
    if (!(open.min[c] <= stat.min)) {
        open.min[c] = stat.min;
    }
    if (!(open.max[c] >= stat.max)) {
        open.max[c] = stat.max;
    }
    open.sum[c] += static_cast<double>(stat.mean) * stat.count;
    open.count[c] += stat.count;
}

void ReducingSeries::closeOpen(int summary) {
    Level& level = levels_[static_cast<std::size_t>(summary)];
    Accumulator& open = level.open;
    level.first.push_back(open.first);
    level.last.push_back(open.last);
    for (std::size_t c = 0; c < static_cast<std::size_t>(channels_); ++c) {
        ChannelStat stat;
        if (open.count[c] > 0) {
            stat = {open.min[c], open.max[c],
                    static_cast<float>(open.sum[c] / static_cast<double>(open.count[c])),
                    open.count[c]};
        }
        level.stats.push_back(stat);
    }
    if (summary + 1 < kSummaryLevels) {
        const std::size_t index = level.first.size() - 1;
        spanOpen(summary + 1, open.first, open.last);
        for (int c = 0; c < channels_; ++c) {
            addToOpen(summary + 1, c, stat(summary + 1, index, c));
        }
        if (++levels_[static_cast<std::size_t>(summary) + 1].open.items == kFanOut) {
            closeOpen(summary + 1);
        }
    }
    resetAccumulator(open);
}

void ReducingSeries::trim() {
    const auto n = static_cast<std::ptrdiff_t>(channels_);
    if (limits_.frames > 0 && xs_.size() > limits_.frames) {
        const auto excess = static_cast<std::ptrdiff_t>(xs_.size() - limits_.frames);
        xs_.erase(xs_.begin(), xs_.begin() + excess);
        values_.erase(values_.begin(), values_.begin() + excess * n);
    }
    for (std::size_t s = 0; s < levels_.size(); ++s) {
        Level& level = levels_[s];
        if (limits_.buckets[s] > 0 && level.first.size() > limits_.buckets[s]) {
            const auto excess =
                static_cast<std::ptrdiff_t>(level.first.size() - limits_.buckets[s]);
            level.first.erase(level.first.begin(), level.first.begin() + excess);
            level.last.erase(level.last.begin(), level.last.begin() + excess);
            level.stats.erase(level.stats.begin(), level.stats.begin() + excess * n);
        }
    }
}

std::int64_t ReducingSeries::firstX() const {
    std::int64_t first = kNone;
    for (int level = 0; level < kLevels; ++level) {
        if (count(level) > 0) {
            first = std::min(first, itemFirst(level, 0));
        }
    }
    return first;
}

std::size_t ReducingSeries::count(int level) const {
    return level == 0 ? xs_.size() : levels_[static_cast<std::size_t>(level) - 1].first.size();
}

std::int64_t ReducingSeries::itemFirst(int level, std::size_t index) const {
    return level == 0 ? xs_[index] : levels_[static_cast<std::size_t>(level) - 1].first[index];
}

std::int64_t ReducingSeries::itemLast(int level, std::size_t index) const {
    return level == 0 ? xs_[index] : levels_[static_cast<std::size_t>(level) - 1].last[index];
}

ChannelStat ReducingSeries::stat(int level, std::size_t index, int channel) const {
    const std::size_t at =
        index * static_cast<std::size_t>(channels_) + static_cast<std::size_t>(channel);
    if (level > 0) {
        return levels_[static_cast<std::size_t>(level) - 1].stats[at];
    }
    const float v = values_[at];
    return std::isnan(v) ? ChannelStat{} : ChannelStat{v, v, v, 1};
}

std::vector<Piece> ReducingSeries::pieces(int level, std::int64_t x0, std::int64_t x1) const {
    level = std::clamp(level, 0, kLevels - 1);
    auto start = [&](int k) { return count(k) > 0 ? itemFirst(k, 0) : kNone; };
    auto end = [&](int k) { return count(k) > 0 ? itemLast(k, count(k) - 1) : kBeforeAll; };
    std::vector<Piece> result;
    // Items already given end at `after`: the next piece starts behind it, so that a
    // bucket reaching into the next level's time is not counted twice.
    std::int64_t after = kBeforeAll;
    // Items of level k in [x0, x1] whose first x lies after `after` and before `before`.
    auto add = [&](int k, std::int64_t before) {
        const std::size_t n = count(k);
        const std::size_t begin =
            std::max(PartitionPoint(n, [&](std::size_t i) { return itemLast(k, i) < x0; }),
                     PartitionPoint(n, [&](std::size_t i) { return itemFirst(k, i) <= after; }));
        const std::size_t stop =
            std::min(PartitionPoint(n, [&](std::size_t i) { return itemFirst(k, i) <= x1; }),
                     PartitionPoint(n, [&](std::size_t i) { return itemFirst(k, i) < before; }));
        if (stop > begin) {
            result.push_back(Piece{k, begin, stop});
            after = itemLast(k, stop - 1);
        }
    };
    for (int k = kLevels - 1; k > level; --k) {
        add(k, start(k - 1));
    }
    add(level, kNone);
    for (int k = level - 1; k >= 0; --k) {
        after = std::max(after, end(k + 1));
        add(k, kNone);
    }
    return result;
}

int ReducingSeries::levelFor(std::int64_t x0, std::int64_t x1, std::size_t maxItems) const {
    for (int level = 0; level < kLevels - 1; ++level) {
        std::size_t items = 0;
        for (const Piece& p : pieces(level, x0, x1)) {
            items += p.end - p.begin;
        }
        if (items <= maxItems) {
            return level;
        }
    }
    return kLevels - 1;
}

std::size_t ReducingSeries::memoryBytes() const {
    std::size_t bytes = xs_.size() * sizeof(std::int64_t) + values_.size() * sizeof(float);
    for (const Level& level : levels_) {
        bytes += (level.first.size() + level.last.size()) * sizeof(std::int64_t) +
                 level.stats.size() * sizeof(ChannelStat);
    }
    return bytes;
}

}  // namespace vantrel::history
