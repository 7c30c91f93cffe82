#pragma once

// A derived channel: a value computed on every frame from the channels' values
// and other derived channels, with its own name, unit and number of decimals.

#include <cstddef>
#include <string>
#include <vector>

#include "engine/CardFrames.h"

namespace vantrel::derived {

inline constexpr std::size_t kMaxDerivedChannels = kDerivedSlots;
// Characters, not bytes: "m³/h" is four.
inline constexpr std::size_t kMaxUnitCharacters = 16;
inline constexpr int kMaxDecimals = 9;

struct DerivedChannel {
    // A name the expressions of other derived channels can use: letters, digits
    // and '_', not starting with a digit.
    std::string name;
    std::string unit;
    int decimals = 2;
    std::string expression;
    // Logged as a column after the channels marked for saving.
    bool saved = false;
    bool operator==(const DerivedChannel&) const = default;
};

struct DerivedSettings {
    std::vector<DerivedChannel> channels;
    bool operator==(const DerivedSettings&) const = default;
};

// Letters, digits and '_', not starting with a digit; nothing else can be named
// in an expression.
bool IsIdentifier(std::string_view text);

}  // namespace vantrel::derived
