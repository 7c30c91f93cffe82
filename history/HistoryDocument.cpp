#include "history/HistoryDocument.h"

#include <algorithm>
#include <limits>

#include "engine/CardView.h"
#include "platform/DateTimeText.h"

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
        group.firstSlot = ChannelSlot(card, 0);
        group.breakGap = kRunBreakMs;
    }
    return run;
}

void AddCardFrame(HistoryDocument& run, const ConvertedFrame& frame) {
    HistoryGroup& group = run.groups[static_cast<std::size_t>(CardIndex(frame.card))];
    std::array<float, kChannelsPerCard> values{};
    for (std::size_t c = 0; c < values.size(); ++c) {
        values[c] = frame.values[c].value_or(std::numeric_limits<float>::quiet_NaN());
    }
    group.series.append(platform::UtcMilliseconds(frame.convertedAt), values.data());
}

}  // namespace vantrel::history
