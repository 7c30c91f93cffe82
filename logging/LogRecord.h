#pragma once

// The lines of the log file as the state gives them: the optional header and the
// values of one record, laid out as logging/LogFormat.h says. The columns are the
// channels marked for saving, in ascending slot order, then the derived channels
// marked for saving, in the order of their settings. Lines are returned without
// their CR LF.

#include <optional>
#include <string>

#include "derived/DerivedChannel.h"
#include "engine/AcquisitionState.h"
#include "engine/ChannelScale.h"
#include "logging/IntervalFigures.h"
#include "logging/LogFormat.h"
#include "logging/LoggingPreferences.h"

namespace vantrel {

bool AnyChannelMarked(const AcquisitionState& state);

// Takes the [logging] choices of what a record holds and how its values are written
// into the state, from which the header and records are made.
void SetRecordLayout(AcquisitionState& state, const LoggingPreferences& preferences);
// The separator of the values and names: the one vantrel.ini chose, or File > Save's.
Delimiter LogSeparatorOf(const AcquisitionState& state);
LogStatistics LogStatisticsOf(const AcquisitionState& state);
// Takes the units of the channels' user scales into the state, for the header.
void SetLogScaleUnits(AcquisitionState& state, const ChannelScales& scales);
// Takes the derived channels marked for saving into the state: the columns after
// the marked channels.
void SetLoggedDerived(AcquisitionState& state, const derived::DerivedSettings& settings);

// The stamp column names, then the names of the marked channels and of the logged
// derived channels; with minimum, maximum and mean, three columns each, "name
// (min)", "name (max)" and "name (mean)". With header units, each column that has
// a unit ends in " [unit]": "Pressure (min) [bar]".
std::string HeaderLine(const AcquisitionState& state);

// The latest value of each channel slot: what the last frame of its card gave it,
// or, where that frame failed, the last value it was converted to.
using LatestValues = Slots<float, kUsedChannels>;
// What the derived channels gave since the last record, by their place among the
// derived channels: the latest frame's values (none where it had none) and the
// interval's figures.
struct DerivedRecord {
    std::array<std::optional<double>, kDerivedSlots> latest{};
    DerivedFigures figures{};
};
// The figures of the marked channels, then of the logged derived channels, joined
// by the separator: the latest values, or the interval's mean, or its minimum,
// maximum and mean, with the decimal mark chosen; a channel no frame of the
// interval converted is empty for the last two. The stamp fields (StampFields) go
// in front.
std::string RecordValues(const AcquisitionState& state, const LatestValues& values,
                         const IntervalFigures& figures = {}, const DerivedRecord& derived = {});

}  // namespace vantrel
