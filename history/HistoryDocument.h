#pragma once

// What a History window shows: groups of channels that share their x positions
// (one card of the run, or one stretch of a log file with the same columns), on a
// time axis (milliseconds since 1970, UTC) or a record-number axis.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "derived/DerivedChannel.h"
#include "engine/AcquisitionState.h"
#include "engine/CardFrames.h"
#include "history/ReducingSeries.h"

namespace vantrel::history {

enum class Axis { Time, RecordNumber };

struct HistoryGroup {
    HistoryGroup(std::vector<std::string> columnNames, SeriesLimits limits)
        : names(std::move(columnNames)),
          units(names.size()),
          series(static_cast<int>(names.size()), limits) {}

    std::vector<std::string> names;
    // One per column; empty where the column has no unit. A card's channels take
    // theirs from the channel settings instead, which may change during the run.
    std::vector<std::string> units;
    ReducingSeries series;
    // The channel slot of column 0 for a card of the run; -1 for a log.
    int firstSlot = -1;
    // Items further apart than this many x units are drawn with a gap (0: never).
    std::int64_t breakGap = 0;
};

struct HistoryDocument {
    Axis axis = Axis::Time;
    std::vector<HistoryGroup> groups;
    // The run's group that the derived channels of new frames go to; -1: none.
    int derivedGroup = -1;
    // What a group added to the run keeps.
    SeriesLimits limits;
    // Counts the changes to which groups there are, for a window to see them.
    std::uint64_t layout = 0;

    bool empty() const;
    std::int64_t firstX() const;
    std::int64_t lastX() const;
    std::size_t memoryBytes() const;
};

// The run's history: card 1 (slots 0..7) and card 2 (slots 8..15).
HistoryDocument RunHistory(SeriesLimits limits = kLiveLimits);

// One converted analog frame of a card, at the time it was converted: its values
// as the user reads them, and its derived channels. Channels that were not
// converted this time and empty derived channels go in as gaps, not as stale values.
void AddCardFrame(HistoryDocument& run, const ConvertedFrame& frame);

// The derived channels of later frames. Other names or units than the group in use
// start a group of their own, so that what was drawn stays under its own names.
void SetDerivedChannels(HistoryDocument& run, const derived::DerivedSettings& settings);

}  // namespace vantrel::history
