#include <algorithm>

#include "engine/ModMain.h"
#include "engine/ThermocoupleTables.h"

namespace vantrel::modMain {

// The tables rise with temperature (start-up refuses a table that falls), so the
// one-degree walk's stopping point is found by binary search: the first entry
// equal to the voltage, or the step below the first entry above it, whichever
// the walk reaches first.
std::optional<double> ThermocoupleTemperature(const AcquisitionState& state,
                                              std::int16_t voltageCounts, int kind,
                                              double millivoltsPerCount) {
    if (kind != thermocouple::kTypeJ && kind != thermocouple::kTypeK) {
        return 0.0;
    }
    const thermocouple::TableView table = thermocouple::TableFor(state, kind);
    const auto coldJunction = thermocouple::ColdJunctionMillivolts(state, table);
    if (!std::holds_alternative<double>(coldJunction)) {
        return std::nullopt;
    }
    const double target = std::get<double>(coldJunction) + voltageCounts * millivoltsPerCount;
    const double* first = table.entries;
    const double* limit = table.entries + table.limit;
    // Steps 0..limit-1 compare entry t and entry t + 1.
    const double* above = std::upper_bound(first + 1, limit + 1, target);
    const double* equal = std::lower_bound(first, limit, target);
    double t = table.limit;
    if (equal != limit && *equal == target && equal <= above - 1) {
        t = static_cast<double>(equal - first);
    } else if (above <= limit) {
        t = static_cast<double>(above - 1 - first) + 0.5;
    }
    return t - table.indexOffset;
}

}  // namespace vantrel::modMain
