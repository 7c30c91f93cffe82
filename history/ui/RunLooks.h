#pragma once

// How the run's sixteen channels look in its History window.

#include <QColor>
#include <functional>
#include <optional>

#include "engine/AcquisitionState.h"
#include "engine/ChannelScale.h"
#include "history/HistoryDocument.h"
#include "history/ui/frmHistory.h"

namespace vantrel {

// The colour a channel slot has in the Real Time Trend, when that window is open.
using TrendColour = std::function<std::optional<QColor>(int slot)>;

// The channels' scales as they are now.
using CurrentScales = std::function<const ChannelScales&()>;

// Names from the save options, units by user scale or else input type, values
// written as the analog view writes them, colours
// from the trend (its untouched white would vanish on the white plot: a palette
// colour instead), and the channels marked for plotting shown first (all of them
// when none is marked). The run's derived channels after them, by their names and
// units, all shown.
ChannelLooks RunChannelLooks(const AcquisitionState& state, const history::HistoryDocument& run,
                             CurrentScales scales, TrendColour trendColour);

// A distinct colour for each index: the channels' palette (views/ChannelPalette.h).
QColor PaletteColour(int index);

}  // namespace vantrel
