#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/AcquisitionState.h"

namespace vantrel {

// The result of the 0.1-degree walk from -200 degrees (the step-by-step reference
// walk in the tests), found by binary search over the walk's precomputed grid.
double RtdTemperature(std::int16_t count, std::int16_t referenceCount);

}  // namespace vantrel
