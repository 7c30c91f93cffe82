#pragma once

// The step-by-step searches exactly as the conversion is defined: the PT-100 walk
// over a 0.1-degree grid that drifts by repeated addition, and the thermocouple walk
// over the table one degree at a time. Slow (up to 10,500 steps); kept as the
// reference that the fast searches must match bit for bit.

#include <cstdint>
#include <optional>

#include "engine/AcquisitionState.h"
#include "engine/Conversion.h"
#include "engine/RtdSearch.h"
#include "engine/ThermocoupleSearch.h"

namespace vantrel::literal {

double RtdTemperature(std::int16_t count, std::int16_t referenceCount);

// Nothing when the cold junction's table index falls outside the tables.
std::optional<double> ThermocoupleTemperature(const AcquisitionState& state,
                                              std::int16_t voltageCounts, int kind,
                                              double millivoltsPerCount);

// The whole frame conversion with the walks in place of the fast searches.
std::optional<ConversionFailure> ConvertFrame(AcquisitionState& state, int card);

}  // namespace vantrel::literal
