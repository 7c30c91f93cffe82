#include "tests/support/LiteralConversion.h"

#include "engine/ConversionCore.h"
#include "engine/RtdPolynomial.h"
#include "engine/ThermocoupleTables.h"

namespace vantrel::literal {

double RtdTemperature(std::int16_t count, std::int16_t referenceCount) {
    const double ratio = rtd::CountRatio(count, referenceCount) - 1.0;
    double t = rtd::kSearchStart;
    bool found = false;
    while (t < rtd::kSearchLimit && !found) {
        const double f = rtd::ResistanceRatio(t);
        if (f == ratio) {
            found = true;
        } else {
            const double g = rtd::ResistanceRatio(t + rtd::kStep);
            if (g > ratio) {
                t = t + rtd::kHalfStep;
                found = true;
            } else {
                t = t + rtd::kStep;
            }
        }
    }
    return t;
}

std::optional<double> ThermocoupleTemperature(const AcquisitionState& state,
                                              std::int16_t voltageCounts, int kind,
                                              double millivoltsPerCount) {
    return thermocouple::Temperature(state, voltageCounts, kind, millivoltsPerCount,
                                     thermocouple::WalkTable);
}

std::optional<ConversionFailure> ConvertFrame(AcquisitionState& state, int card) {
    static constexpr TemperatureSearches kWalks{RtdTemperature, thermocouple::WalkTableBatch};
    return ConvertFrameWith(state, card, kWalks);
}

}  // namespace vantrel::literal

namespace vantrel::thermocouple {

double WalkTable(const TableView& table, double target) {
    double t = 0.0;
    bool found = false;
    do {
        const auto index = static_cast<std::size_t>(t);
        if (target == table.entries[index]) {
            found = true;
        } else if (target < table.entries[index + 1]) {
            t = t + 0.5;
            found = true;
        } else {
            t = t + 1.0;
        }
    } while (!found && t < table.limit);
    return t;
}

void WalkTableBatch(const TableView& table, const double* targets, double* indices, int count) {
    for (int i = 0; i < count; ++i) {
        indices[i] = WalkTable(table, targets[i]);
    }
}

}  // namespace vantrel::thermocouple
