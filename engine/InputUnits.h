#pragma once

// The unit of a channel's values: by its input type code, or its user scale's.

#include <optional>
#include <string_view>

#include "engine/ChannelScale.h"
#include "engine/InputTypes.h"

namespace vantrel {

// "V" for ±10 V, "mA" for both current types, "mV" for 0-200 mV, "deg.C" for the
// PT-100 and the thermocouples; nothing for an unknown code.
inline std::string_view InputUnit(int inputType) {
    switch (inputType) {
        case input_type::kVoltage10V:
            return "V";
        case input_type::kCurrent20mA:
        case input_type::kCurrent4To20mA:
            return "mA";
        case input_type::kMillivolt200:
            return "mV";
        case input_type::kRtd:
        case input_type::kThermocoupleJ:
        case input_type::kThermocoupleK:
            return "deg.C";
        default:
            return "";
    }
}

// The unit the user reads a channel in: its user scale's (which may be none),
// otherwise its input type's.
inline std::string_view ChannelUnit(int inputType, const std::optional<ChannelScale>& scale) {
    return scale ? std::string_view(scale->unit) : InputUnit(inputType);
}

}  // namespace vantrel
