#pragma once

// Where a card's channels and lines sit in the shared per-slot tables: card 1 owns
// the first eight channel slots and sixteen line slots, card 2 the next ones.

#include "engine/AcquisitionState.h"

namespace vantrel {

// Card selector: 0 is card 1, any other value card 2.
constexpr int ChannelSlot(int card, int channel) {
    return card == 0 ? channel : channel + kChannelsPerCard;
}

constexpr int LineSlot(int card, int line) {
    return card == 0 ? line : line + kLinesPerCard;
}

}  // namespace vantrel
