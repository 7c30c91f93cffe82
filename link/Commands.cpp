#include "link/Commands.h"

#include <cstdio>

namespace vantrel::link {

std::string SetOutputsCommand(const AcquisitionState& state, int card) {
    const int base = card == 0 ? 0 : kLinesPerCard;
    unsigned pattern = 0;
    for (int k = 0; k < kLinesPerCard; ++k) {
        if (state.DigitalOutCmd[static_cast<std::size_t>(base + k)]) {
            pattern |= 1u << k;
        }
    }
    char digits[5];
    std::snprintf(digits, sizeof digits, "%04X", pattern);
    return std::string(kCommandSetOutputsPrefix) + digits;
}

}  // namespace vantrel::link
