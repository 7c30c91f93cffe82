#include "history/HistoryDocument.h"

#include <algorithm>
#include <limits>

namespace vantrel::history {

namespace {
// Frames come every 65 ms at wire speed; a pause this long is a stopped task or a
// lost card, and a line across it would invent values.
constexpr std::int64_t kRunBreakMs = 2000;
}  // namespace

bool HistoryDocument::empty() const {
    return std::all_of(groups.begin(), groups.end(),
                       [](const HistoryGroup& g) { return g.series.empty(); });
}

std::int64_t HistoryDocument::firstX() const {
    std::int64_t first = std::numeric_limits<std::int64_t>::max();
    for (const HistoryGroup& g : groups) {
        if (!g.series.empty()) {
            first = std::min(first, g.series.firstX());
        }
    }
    return first;
}

std::int64_t HistoryDocument::lastX() const {
    std::int64_t last = std::numeric_limits<std::int64_t>::min();
    for (const HistoryGroup& g : groups) {
        if (!g.series.empty()) {
            last = std::max(last, g.series.lastX());
        }
    }
    return last;
}

std::size_t HistoryDocument::memoryBytes() const {
    std::size_t bytes = 0;
    for (const HistoryGroup& g : groups) {
        bytes += g.series.memoryBytes();
    }
    return bytes;
}

HistoryDocument RunHistory(SeriesLimits limits) {
    HistoryDocument run;
    for (int card = 0; card < 2; ++card) {
        HistoryGroup& group =
            run.groups.emplace_back(std::vector<std::string>(kChannelsPerCard), limits);
        group.firstSlot = card * kChannelsPerCard;
        group.breakGap = kRunBreakMs;
    }
    return run;
}

void AddCardFrame(HistoryDocument& run, const AcquisitionState& state, int card,
                  std::int64_t utcMilliseconds, int failedSlot) {
    HistoryGroup& group = run.groups[card == 0 ? 0 : 1];
    std::array<float, kChannelsPerCard> values{};
    for (int c = 0; c < kChannelsPerCard; ++c) {
        const int slot = group.firstSlot + c;
        values[static_cast<std::size_t>(c)] =
            failedSlot >= group.firstSlot && slot >= failedSlot
                ? std::numeric_limits<float>::quiet_NaN()
                : state.ChannelValue[static_cast<std::size_t>(slot)];
    }
    group.series.append(utcMilliseconds, values.data());
}

}  // namespace vantrel::history
