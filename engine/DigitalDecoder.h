#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/AcquisitionState.h"

namespace vantrel {

// A frame that is not 9 characters long or whose groups are not four hexadecimal
// digits each is dropped.
void DecodeDigitalFrame(AcquisitionState& state, int card);

}  // namespace vantrel
