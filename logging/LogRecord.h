#pragma once

// The lines of the log file as the state gives them: the optional header and the
// values of one record, laid out as logging/LogFormat.h says. The columns are the
// channels marked for saving, in ascending slot order. Lines are returned without
// their CR LF.

#include <string>

#include "engine/AcquisitionState.h"
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

// The stamp column names, then the names of the marked channels; with minimum,
// maximum and mean, three columns a channel, "name (min)", "name (max)" and
// "name (mean)".
std::string HeaderLine(const AcquisitionState& state);

// The latest value of each channel slot: what the last frame of its card gave it,
// or, where that frame failed, the last value it was converted to.
using LatestValues = Slots<float, kUsedChannels>;
// The figures of the marked channels, joined by the separator: the latest values, or
// the interval's mean, or its minimum, maximum and mean, with the decimal mark
// chosen; a channel no frame of the interval converted is empty for the last two.
// The stamp fields (StampFields) go in front.
std::string RecordValues(const AcquisitionState& state, const LatestValues& values,
                         const IntervalFigures& figures = {});

}  // namespace vantrel
