#pragma once

// The lines of the log file as the state gives them: the optional header and the
// values of one record, laid out as logging/LogFormat.h says. The columns are the
// channels marked for saving, in ascending slot order. Lines are returned without
// their CR LF.

#include <string>

#include "engine/AcquisitionState.h"
#include "logging/LogFormat.h"

namespace vantrel {

bool AnyChannelMarked(const AcquisitionState& state);

// The stamp column names, then the names of the marked channels.
std::string HeaderLine(const AcquisitionState& state);

// The latest value of each channel slot: what the last frame of its card gave it,
// or, where that frame failed, the last value it was converted to.
using LatestValues = Slots<float, kUsedChannels>;
// The latest values of the marked channels, joined by the separator; the stamp
// fields (StampFields) go in front.
std::string RecordValues(const AcquisitionState& state, const LatestValues& values);

}  // namespace vantrel
