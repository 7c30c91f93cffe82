#include "engine/SensorChecks.h"

#include <variant>

#include "engine/InputTypes.h"
#include "engine/RtdPolynomial.h"
#include "engine/ThermocoupleTables.h"

namespace vantrel {

namespace {

constexpr double kFullScaleMilliamps = 20.0;
constexpr double kThermocoupleSpanMillivolts = 200.0;

// The span between the 200 mV calibration counts and the count's distance from
// its zero, as the conversion forms them; false where it fails on them.
bool CountsFromZero(const AcquisitionState& state, int slot, int& fromZero, int& width) {
    fromZero = state.RawCounts[slot] - state.CalZero200mV[slot];
    width = state.CalSpan200mV[slot] - state.CalZero200mV[slot];
    const auto fits = [](int difference) { return difference >= -32768 && difference <= 32767; };
    return fits(fromZero) && fits(width) && width != 0;
}

TableReading ThermocoupleReading(const AcquisitionState& state, int slot, int kind) {
    int fromZero = 0;
    int width = 0;
    if (!CountsFromZero(state, slot, fromZero, width)) {
        return TableReading::Inside;
    }
    const thermocouple::TableView table = thermocouple::TableFor(state, kind);
    const auto coldJunction = thermocouple::ColdJunctionMillivolts(state, table);
    if (!std::holds_alternative<double>(coldJunction)) {
        return TableReading::Inside;
    }
    // The hot junction's voltage exactly as the conversion's search is given it.
    const double millivoltsPerCount = kThermocoupleSpanMillivolts / width;
    const double target = std::get<double>(coldJunction) + fromZero * millivoltsPerCount;
    if (target < table.entries[0]) {
        return TableReading::Below;
    }
    return target > table.entries[table.limit] ? TableReading::Above : TableReading::Inside;
}

TableReading RtdReading(const AcquisitionState& state, int slot) {
    const std::int16_t reference = state.CalRTD[slot];
    if (reference == 0) {
        return TableReading::Inside;
    }
    const double ratio = rtd::CountRatio(state.RawCounts[slot], reference) - 1.0;
    if (ratio < rtd::ResistanceRatio(rtd::kSearchStart)) {
        return TableReading::Below;
    }
    return ratio > rtd::ResistanceRatio(rtd::kSearchLimit) ? TableReading::Above
                                                           : TableReading::Inside;
}

}  // namespace

std::optional<double> LoopMilliamps(const AcquisitionState& state, int slot) {
    int fromZero = 0;
    int width = 0;
    if (state.InputType[slot] != input_type::kCurrent4To20mA ||
        !CountsFromZero(state, slot, fromZero, width)) {
        return std::nullopt;
    }
    return kFullScaleMilliamps * fromZero / width;
}

TableReading ReadingAgainstTable(const AcquisitionState& state, int slot) {
    switch (state.InputType[slot]) {
        case input_type::kRtd:
            return RtdReading(state, slot);
        case input_type::kThermocoupleJ:
            return ThermocoupleReading(state, slot, thermocouple::kTypeJ);
        case input_type::kThermocoupleK:
            return ThermocoupleReading(state, slot, thermocouple::kTypeK);
        default:
            return TableReading::Inside;
    }
}

}  // namespace vantrel
