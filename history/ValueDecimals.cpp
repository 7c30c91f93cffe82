#include "history/ValueDecimals.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vantrel::history {

int DecimalsOf(float value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    for (int decimals = 0; decimals < kMostValueDecimals; ++decimals) {
        char text[64];
        std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value) {
            return decimals;
        }
    }
    return kMostValueDecimals;
}

}  // namespace vantrel::history
