#pragma once

// A channel's value through its user scale. The scale reads what the channel
// measures: a 4-20 mA channel's loop current (so that 4 mA = 0 bar means what
// it says, whatever its input range), any other channel's converted value.

#include <array>
#include <optional>

#include "engine/AcquisitionState.h"
#include "engine/CardFrames.h"
#include "engine/ChannelScale.h"

namespace vantrel {

// From the state just after conversion.
double ScaleInput(const AcquisitionState& state, int slot);
double ScaledValue(const AcquisitionState& state, int slot, const ChannelScale& scale);

// A frame's values as the user reads them, worked out once for every output that
// shows them: through each channel's scale, as converted where it has none, and
// none where the conversion failed.
using ScaledValues = std::array<std::optional<double>, kChannelsPerCard>;
ScaledValues ScaleFrame(const ConvertedFrame& frame, const ChannelScales& scales);

}  // namespace vantrel
