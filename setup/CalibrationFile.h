#pragma once

// The calibration file: the quoted header line, then five values per channel for
// card 1's eight channels (zero 10 V, zero 200 mV, span 10 V, span 200 mV, RTD), one
// signed 16-bit value a line, CR LF.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/AcquisitionState.h"
#include "settings/FieldReader.h"

namespace vantrel {

inline constexpr std::string_view kCalibrationHeader = "Vantrel 16CH ver.1.0 Calib File";

struct ChannelCalibration {
    std::int16_t zero10V = 0;
    std::int16_t zero200mV = 0;
    std::int16_t span10V = 0;
    std::int16_t span200mV = 0;
    std::int16_t rtd = 0;

    friend bool operator==(const ChannelCalibration&, const ChannelCalibration&) = default;
};

// The file always holds channel slots 0..7, whichever card's window exports it.
using CalibrationTable = std::array<ChannelCalibration, kChannelsPerCard>;

CalibrationTable CalibrationOfFirstCard(const AcquisitionState& state);
void StoreCalibrationOfFirstCard(AcquisitionState& state, const CalibrationTable& table);

std::string FormatCalibrationFile(const CalibrationTable& table);

struct CalibrationFileParse {
    enum class Outcome { Read, WrongHeader, BadValues };
    Outcome outcome = Outcome::BadValues;
    CalibrationTable table{};  // only meaningful when Read
    std::string error;         // names the offending line when BadValues
};

// All or nothing: either all forty values, or a reason and no values. A channel
// whose zero equals its span (10 V or 200 mV) or whose RTD reference is 0 is refused
// too, naming the channel: the conversion would divide by zero.
CalibrationFileParse ParseCalibrationFile(FieldReader reader);

}  // namespace vantrel
