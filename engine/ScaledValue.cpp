#include "engine/ScaledValue.h"

#include "engine/CardView.h"
#include "engine/SensorChecks.h"

namespace vantrel {

double ScaleInput(const AcquisitionState& state, int slot) {
    return LoopMilliamps(state, slot)
        .value_or(static_cast<double>(state.ChannelValue[static_cast<std::size_t>(slot)]));
}

double ScaledValue(const AcquisitionState& state, int slot, const ChannelScale& scale) {
    return scale.apply(ScaleInput(state, slot));
}

ScaledValues ScaleFrame(const ConvertedFrame& frame, const ChannelScales& scales) {
    ScaledValues scaled;
    for (int channel = 0; channel < kChannelsPerCard; ++channel) {
        const auto c = static_cast<std::size_t>(channel);
        if (!frame.values[c]) {
            continue;
        }
        const std::optional<ChannelScale>& scale =
            scales[static_cast<std::size_t>(ChannelSlot(frame.card, channel))];
        const double input = frame.loopMilliamps[c].value_or(static_cast<double>(*frame.values[c]));
        scaled[c] = scale ? scale->apply(input) : static_cast<double>(*frame.values[c]);
    }
    return scaled;
}

}  // namespace vantrel
