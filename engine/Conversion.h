#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/AcquisitionState.h"

namespace vantrel {

struct ConversionFailure {
    enum class Kind { DivisionByZero, Overflow, IndexOutOfRange };
    Kind kind = Kind::Overflow;
    int slot = 0;
    // The kind's description followed directly by the slot number.
    std::string message() const;
};

// Converts the card's eight slots; on the first failure stops and reports it. The
// failing slot and those after it keep their previous values.
std::optional<ConversionFailure> ConvertFrame(AcquisitionState& state, int card);

}  // namespace vantrel
