#pragma once

// What both thermocouple searches share: which table a kind uses, where its search
// stops, and the cold-junction voltage from card 1's ambient temperature.

#include <cstdint>
#include <optional>
#include <variant>

#include "engine/AcquisitionState.h"
#include "engine/Conversion.h"

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
// rounded half to even. Fails with an index out of range when it falls outside the
// table, however far.
std::variant<double, ConversionFailure::Kind> ColdJunctionMillivolts(const AcquisitionState& state,
                                                                     const TableView& table);

// Table index at which a search for the target stops: a whole index when the
// target equals an entry, the middle of the step below the first entry above it,
// or the limit. The step-by-step walk and the binary search give the same result.
using TableSearch = double (*)(const TableView& table, double target);
double WalkTable(const TableView& table, double target);
double SearchTable(const TableView& table, double target);

// The same for up to kMaxBatch targets at once; the binary searches run side by
// side so their memory reads overlap.
inline constexpr int kMaxBatch = kChannelsPerCard;
using TableBatchSearch = void (*)(const TableView& table, const double* targets, double* indices,
                                  int count);
void WalkTableBatch(const TableView& table, const double* targets, double* indices, int count);
void SearchTableBatch(const TableView& table, const double* targets, double* indices, int count);

// The whole thermocouple conversion with the given table search: degrees, or
// nothing when the cold junction cannot be looked up.
std::optional<double> Temperature(const AcquisitionState& state, std::int16_t voltageCounts,
                                  int kind, double millivoltsPerCount, TableSearch search);

}  // namespace vantrel::thermocouple
