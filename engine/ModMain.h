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
void DecodeAnalogFrame(AcquisitionState& state, int card);
// Converts the card's eight slots; on the first failure stops and reports it.
std::optional<ConversionFailure> ConvertFrame(AcquisitionState& state, int card);
double RtdTemperature(std::int16_t count, std::int16_t referenceCount);
// kind 0 = type J, 1 = type K, any other kind gives 0. Nothing when the cold
// junction's table index falls outside the tables.
std::optional<double> ThermocoupleTemperature(const AcquisitionState& state,
                                              std::int16_t voltageCounts, int kind,
                                              double millivoltsPerCount);
void DecodeDigitalFrame(AcquisitionState& state, int card);

// Write the settings files; nothing on success, otherwise what failed.
std::optional<std::string> SaveChannelSettings(const AcquisitionState& state);
std::optional<std::string> SaveLogSettings(const AcquisitionState& state);
// vtrl.con: " n " lines for the two port numbers.
std::optional<std::string> SavePortSettings(const AcquisitionState& state);

}  // namespace modMain
}  // namespace vantrel
