#include "engine/ThermocoupleTables.h"

#include "engine/RoundHalfEven.h"

namespace vantrel::thermocouple {

TableView TableFor(const AcquisitionState& state, int kind) {
    if (kind == kTypeJ) {
        return {state.TableJ.data(), kLimitJ, 0};
    }
    return {state.TableK.data(), kLimitK, kTableKOffset};
}

std::variant<double, ConversionFailure::Kind> ColdJunctionMillivolts(const AcquisitionState& state,
                                                                     const TableView& table) {
    // However far off the ambient is, the failure is that it lies outside the
    // table; an ambient that does not round to a number at all is no index either.
    const auto ambient = RoundHalfEven(state.AmbientTemp1);
    if (!ambient) {
        return ConversionFailure::Kind::IndexOutOfRange;
    }
    const long long index = static_cast<long long>(*ambient) + table.indexOffset;
    if (index < 0 || index >= kTableSize) {
        return ConversionFailure::Kind::IndexOutOfRange;
    }
    return table.entries[index];
}

std::optional<double> Temperature(const AcquisitionState& state, std::int16_t voltageCounts,
                                  int kind, double millivoltsPerCount, TableSearch search) {
    if (kind != kTypeJ && kind != kTypeK) {
        return 0.0;
    }
    const TableView table = TableFor(state, kind);
    const auto coldJunction = ColdJunctionMillivolts(state, table);
    if (!std::holds_alternative<double>(coldJunction)) {
        return std::nullopt;
    }
    // The measured voltage plus the cold junction's gives the hot junction's.
    const double target = std::get<double>(coldJunction) + voltageCounts * millivoltsPerCount;
    return search(table, target) - table.indexOffset;
}

}  // namespace vantrel::thermocouple
