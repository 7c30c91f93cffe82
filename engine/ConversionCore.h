#pragma once

// The frame conversion with its two searches passed in, so the step-by-step
// walks and the fast searches run through exactly the same arithmetic around them.

#include <cstdint>
#include <optional>

#include "engine/AcquisitionState.h"
#include "engine/Conversion.h"
#include "engine/ThermocoupleTables.h"

namespace vantrel {

struct TemperatureSearches {
    double (*rtd)(std::int16_t count, std::int16_t referenceCount);
    thermocouple::TableBatchSearch tables;
};

std::optional<ConversionFailure> ConvertFrameWith(AcquisitionState& state, int card,
                                                  const TemperatureSearches& searches);

}  // namespace vantrel
