#pragma once

// Which digital line each control of the digital view stands for. Card 2's
// controls run from its highest line down, so control 16 is line 31 and
// control 31 is line 16.

#include "engine/AcquisitionState.h"

namespace vantrel {

inline constexpr int kDigitalControls = kUsedLines;

constexpr int LineForIndex(int index) {
    return index < kLinesPerCard ? index : 3 * kLinesPerCard - 1 - index;
}

// Card selector of the card that owns control `index`: 0 card 1, 1 card 2.
constexpr int CardForIndex(int index) {
    return index < kLinesPerCard ? 0 : 1;
}

}  // namespace vantrel
