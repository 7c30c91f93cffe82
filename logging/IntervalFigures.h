#pragma once

// What the frames of one logging interval gave each channel slot: how many
// values, their sum, smallest and largest. A frame that failed for a channel adds
// nothing to it, so a channel may end an interval with no value. The derived
// channels keep the same figures, by their place among the derived channels.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/AcquisitionState.h"
#include "engine/CardFrames.h"

namespace vantrel {

struct ChannelFigures {
    std::uint32_t count = 0;
    // In double: a float sum of an hour of frames loses the last digits of the mean.
    double sum = 0.0;
    double min = 0.0;
    double max = 0.0;

    void take(double value) {
        min = count == 0 || value < min ? value : min;
        max = count == 0 || value > max ? value : max;
        sum += value;
        ++count;
    }
    std::optional<float> mean() const {
        if (count == 0) {
            return std::nullopt;
        }
        return static_cast<float>(sum / count);
    }
};

using IntervalFigures = Slots<ChannelFigures, kUsedChannels>;
using DerivedFigures = std::array<ChannelFigures, kDerivedSlots>;

}  // namespace vantrel
