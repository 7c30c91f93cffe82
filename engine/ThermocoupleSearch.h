#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/AcquisitionState.h"

namespace vantrel {

// kind 0 = type J, 1 = type K, any other kind gives 0. Nothing when the cold
// junction's table index falls outside the tables. The tables must not fall with
// temperature (start-up refuses such a table file); the result is the one the
// one-degree walk from the bottom of the table gives.
std::optional<double> ThermocoupleTemperature(const AcquisitionState& state,
                                              std::int16_t voltageCounts, int kind,
                                              double millivoltsPerCount);

}  // namespace vantrel
