#pragma once

// The configuration file of one card: ten lines, CR LF, no header.
//   1     direction mask, four upper-case hex digits; bit d set = line d is an input
//   2     input type codes, one decimal digit per channel, channel 0 first
//   3..10 the input range texts of channels 0..7, as typed
// The file carries no card number, so a card 1 file loads into the card 2 window.

#include <array>
#include <optional>
#include <string>

#include "engine/AcquisitionState.h"
#include "engine/InputTypes.h"
#include "settings/FieldReader.h"

namespace vantrel {

inline constexpr int kInputTypeCount = input_type::kCount;

// What the configuration window shows for one card.
struct CardConfiguration {
    std::array<bool, kLinesPerCard> lineIsInput{};
    std::array<int, kChannelsPerCard> inputType{};  // 0..6, -1 when none is selected
    std::array<std::string, kChannelsPerCard> rangeText{};

    friend bool operator==(const CardConfiguration&, const CardConfiguration&) = default;
};

// Why the configuration cannot be written so that it reads back the same, or
// nothing when it can.
std::optional<std::string> ConfigFileProblem(const CardConfiguration& config);

// The file's contents. A range text that the reader would split or drop (one with a
// comma, or an empty one) is written inside double quotes; every other text bare.
// Only for a configuration without a ConfigFileProblem.
std::string FormatConfigFile(const CardConfiguration& config);

struct ConfigFileParse {
    std::optional<CardConfiguration> config;
    std::string error;  // set when config is empty; names the offending line
};

// All or nothing: either every control's value, or a reason and nothing.
ConfigFileParse ParseConfigFile(FieldReader reader);

}  // namespace vantrel
