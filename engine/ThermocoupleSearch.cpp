#include <algorithm>
#include <array>
#include <cmath>

#include "engine/ThermocoupleSearch.h"
#include "engine/ThermocoupleTables.h"

namespace vantrel {

namespace thermocouple {

namespace {

// The tables rise with temperature (start-up refuses a table that falls), so the
// one-degree walk's stopping point follows from the first entry not below the
// target: the walk stops there if it equals the target, otherwise one step
// earlier, at the step whose upper entry is the first above the target.
double StopFromFirstNotBelow(const TableView& table, double target, std::size_t first) {
    const auto limit = static_cast<std::size_t>(table.limit);
    if (std::isnan(target)) {
        return table.limit;  // no comparison holds, so the walk runs to the end
    }
    if (first < limit && table.entries[first] == target) {
        return static_cast<double>(first);
    }
    if (first == 0) {
        return 0.5;
    }
    if (first < limit || table.entries[limit] > target) {
        return static_cast<double>(first - 1) + 0.5;
    }
    return table.limit;
}

}  // namespace

// Binary search over entries 0..limit-1 without branches on the comparisons: the
// table sits in the cache and the comparisons' outcomes cannot be predicted.
double SearchTable(const TableView& table, double target) {
    const double* base = table.entries;
    auto length = static_cast<std::size_t>(table.limit);
    while (length > 1) {
        const std::size_t half = length / 2;
        base += static_cast<std::size_t>(base[half] < target) * half;
        length -= half;
    }
    const auto first = static_cast<std::size_t>(base - table.entries) + (*base < target ? 1 : 0);
    return StopFromFirstNotBelow(table, target, first);
}

void SearchTableBatch(const TableView& table, const double* targets, double* indices, int count) {
    // Always eight searches, the unused ones on a copy of the first target, so the
    // inner loop has a fixed length and unrolls.
    std::array<double, kMaxBatch> padded{};
    padded.fill(count > 0 ? targets[0] : 0.0);
    std::copy(targets, targets + count, padded.begin());
    std::array<const double*, kMaxBatch> base{};
    base.fill(table.entries);
    auto length = static_cast<std::size_t>(table.limit);
    while (length > 1) {
        const std::size_t half = length / 2;
        for (std::size_t i = 0; i < kMaxBatch; ++i) {
            // Arithmetic rather than a choice, so no branch is emitted.
            base[i] += static_cast<std::size_t>(base[i][half] < padded[i]) * half;
        }
        length -= half;
    }
    for (int i = 0; i < count; ++i) {
        const auto first =
            static_cast<std::size_t>(base[i] - table.entries) + (*base[i] < targets[i] ? 1 : 0);
        indices[i] = StopFromFirstNotBelow(table, targets[i], first);
    }
}

}  // namespace thermocouple

std::optional<double> ThermocoupleTemperature(const AcquisitionState& state,
                                              std::int16_t voltageCounts, int kind,
                                              double millivoltsPerCount) {
    return thermocouple::Temperature(state, voltageCounts, kind, millivoltsPerCount,
                                     thermocouple::SearchTable);
}

}  // namespace vantrel
