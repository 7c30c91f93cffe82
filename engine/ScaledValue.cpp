#include "engine/ScaledValue.h"

#include "engine/SensorChecks.h"

namespace vantrel {

double ScaleInput(const AcquisitionState& state, int slot) {
    return LoopMilliamps(state, slot)
        .value_or(static_cast<double>(state.ChannelValue[static_cast<std::size_t>(slot)]));
}

double ScaledValue(const AcquisitionState& state, int slot, const ChannelScale& scale) {
    return scale.apply(ScaleInput(state, slot));
}

}  // namespace vantrel
