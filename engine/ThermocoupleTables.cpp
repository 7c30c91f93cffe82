#include "engine/ThermocoupleTables.h"

#include <cmath>

namespace vantrel::thermocouple {

TableView TableFor(const AcquisitionState& state, int kind) {
    if (kind == kTypeJ) {
        return {state.TableJ.data(), kLimitJ, 0};
    }
    return {state.TableK.data(), kLimitK, kTableKOffset};
}

std::variant<double, ConversionFailure::Kind> ColdJunctionMillivolts(const AcquisitionState& state,
                                                                     const TableView& table) {
    const double ambient = std::nearbyint(static_cast<double>(state.AmbientTemp1));
    if (!(ambient >= -32768.0 && ambient <= 32767.0)) {
        return ConversionFailure::Kind::Overflow;
    }
    const int index = static_cast<int>(ambient) + table.indexOffset;
    if (index < 0 || index >= kTableSize) {
        return ConversionFailure::Kind::IndexOutOfRange;
    }
    return table.entries[index];
}

}  // namespace vantrel::thermocouple
