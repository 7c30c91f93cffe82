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
// The two cards and the derived channels of as many settings as a run would see.
constexpr std::size_t kRunGroups = 18;
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
    run.limits = limits;
    // Room for the groups of derived channels the run may add, without moving
    // the series when one is added.
    run.groups.reserve(kRunGroups);
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
    constexpr double kGap = std::numeric_limits<double>::quiet_NaN();
    const std::int64_t x = platform::UtcMilliseconds(frame.convertedAt);
    std::array<float, kChannelsPerCard> values{};
    for (std::size_t c = 0; c < values.size(); ++c) {
        values[c] = static_cast<float>(frame.scaled[c].value_or(kGap));
    }
    group.series.append(x, values.data());
    if (run.derivedGroup < 0) {
        return;
    }
    HistoryGroup& derived = run.groups[static_cast<std::size_t>(run.derivedGroup)];
    std::array<float, kDerivedSlots> results{};
    for (std::size_t d = 0; d < derived.names.size(); ++d) {
        results[d] = static_cast<float>(frame.derived[d].value_or(kGap));
    }
    derived.series.append(x, results.data());
}

void SetDerivedChannels(HistoryDocument& run, const derived::DerivedSettings& settings) {
    std::vector<std::string> names;
    std::vector<std::string> units;
    for (std::size_t d = 0; d < std::min(settings.channels.size(), kDerivedSlots); ++d) {
        names.push_back(settings.channels[d].name);
        units.push_back(settings.channels[d].unit);
    }
    if (run.derivedGroup >= 0) {
        const HistoryGroup& current = run.groups[static_cast<std::size_t>(run.derivedGroup)];
        if (current.names == names && current.units == units) {
            return;
        }
    }
    if (names.empty()) {
        run.derivedGroup = -1;
        return;
    }
    const auto same = std::find_if(run.groups.begin() + 2, run.groups.end(), [&](const auto& g) {
        return g.names == names && g.units == units;
    });
    if (same != run.groups.end()) {
        run.derivedGroup = static_cast<int>(same - run.groups.begin());
        return;
    }
    if (run.groups.size() == run.groups.capacity()) {
        // Settings changed this often: the oldest derived group makes room, as
        // moving every series would hold them twice for a moment.
        run.groups.erase(run.groups.begin() + 2);
    }
    ++run.layout;
    HistoryGroup& group = run.groups.emplace_back(names, run.limits);
    group.units = std::move(units);
    group.breakGap = kRunBreakMs;
    run.derivedGroup = static_cast<int>(run.groups.size()) - 1;
}

}  // namespace vantrel::history
