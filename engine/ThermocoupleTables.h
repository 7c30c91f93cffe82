#pragma once

// What both thermocouple searches share: which table a kind uses, where its search
// stops, and the cold-junction voltage from card 1's ambient temperature.

#include <cstdint>
#include <optional>
#include <variant>

#include "engine/AcquisitionState.h"
#include "engine/ModMain.h"

namespace vantrel::thermocouple {

inline constexpr int kTypeJ = 0;
inline constexpr int kTypeK = 1;
inline constexpr int kLimitJ = 1099;
inline constexpr int kLimitK = 1569;

struct TableView {
    const double* entries;
    int limit;        // the search stops when the index reaches it
    int indexOffset;  // index = degrees + offset
};

TableView TableFor(const AcquisitionState& state, int kind);

// The cold junction's voltage in millivolts: the table at card 1's ambient,
// rounded half to even. Fails with an overflow when the ambient is beyond a 16-bit
// whole number, and with an index out of range when it falls outside the table.
std::variant<double, ConversionFailure::Kind> ColdJunctionMillivolts(const AcquisitionState& state,
                                                                     const TableView& table);

}  // namespace vantrel::thermocouple
