#include "link/Commands.h"

#include <cstdio>

#include "engine/CardView.h"

namespace vantrel::link {

std::string SetOutputsCommand(const AcquisitionState& state, int card) {
    unsigned pattern = 0;
    for (int k = 0; k < kLinesPerCard; ++k) {
        if (state.DigitalOutCmd[static_cast<std::size_t>(LineSlot(card, k))]) {
            pattern |= 1u << k;
        }
    }
    char digits[5];
    std::snprintf(digits, sizeof digits, "%04X", pattern);
    return std::string(kCommandSetOutputsPrefix) + digits;
}

}  // namespace vantrel::link
