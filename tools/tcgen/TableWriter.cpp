#include "tools/tcgen/TableWriter.h"

#include <cmath>
#include <cstdio>

namespace vantrel::tcgen {

std::string TableText(double (*millivolts)(double), int firstCelsius, int lastCelsius) {
    std::string text;
    for (int t = firstCelsius; t <= lastCelsius; ++t) {
        double value = std::round(millivolts(t) * 1000.0) / 1000.0;
        if (value == 0.0) {
            value = 0.0;  // drops the sign of a negative zero
        }
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.3f\r\n", value);
        text += buffer;
    }
    return text;
}

}  // namespace vantrel::tcgen
