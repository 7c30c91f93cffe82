#pragma once

// The acquisition routines shared by the receive path, the windows and start-up.

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

namespace modMain {

// Card selector: 0 is card 1, any other value card 2.
// A frame that is not 62 characters long, or whose counts do not fit 16 bits, is
// dropped: counts and ambient keep their previous values. True when it was stored.
bool DecodeAnalogFrame(AcquisitionState& state, int card);
// Converts the card's eight slots; on the first failure stops and reports it. The
// failing slot and those after it keep their previous values.
std::optional<ConversionFailure> ConvertFrame(AcquisitionState& state, int card);
// The result of the 0.1-degree walk from -200 degrees (the step-by-step reference walk in the
// tests), found by binary search over the walk's precomputed grid.
double RtdTemperature(std::int16_t count, std::int16_t referenceCount);
// kind 0 = type J, 1 = type K, any other kind gives 0. Nothing when the cold
// junction's table index falls outside the tables. The tables must not fall with
// temperature (start-up refuses such a table file); the result is the one the
// one-degree walk from the bottom of the table gives.
std::optional<double> ThermocoupleTemperature(const AcquisitionState& state,
                                              std::int16_t voltageCounts, int kind,
                                              double millivoltsPerCount);
// A frame that is not 9 characters long or whose groups are not four hexadecimal
// digits each is dropped.
void DecodeDigitalFrame(AcquisitionState& state, int card);

// Write the settings files; nothing on success, otherwise what failed. A file held
// at start-up (HeldSettingsFiles) is not written, and that is what failed.
std::optional<std::string> SaveChannelSettings(const AcquisitionState& state);
std::optional<std::string> SaveLogSettings(const AcquisitionState& state);
// vtrl.con: " n " lines for the two port numbers.
std::optional<std::string> SavePortSettings(const AcquisitionState& state);

}  // namespace modMain
}  // namespace vantrel
