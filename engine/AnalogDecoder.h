#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/AcquisitionState.h"

namespace vantrel {

// Card selector: 0 is card 1, any other value card 2.
// A frame that is not 62 characters long, or whose counts do not fit 16 bits, is
// dropped: counts and ambient keep their previous values. True when it was stored.
bool DecodeAnalogFrame(AcquisitionState& state, int card);

}  // namespace vantrel
