#pragma once

// What a channel's counts say about its sensor beyond the converted value. The
// conversion clips a reading beyond its table to the table's end (type J reads
// 0.5 below 0 degrees, a PT-100 850 above its curve), and a 4-20 mA input shows a
// broken loop as a value below zero like any other, so these are worked out from
// the counts and calibration instead of guessed from the value.

#include <cstdint>
#include <optional>

#include "engine/AcquisitionState.h"

namespace vantrel {

enum class TableReading : std::uint8_t {
    Inside,
    Below,  // a shorted or reversed sensor, or colder than the table
    Above,  // an open sensor, or hotter than the table
};

// The current in a 4-20 mA channel's loop, in mA: the 200 mV range's span count
// stands for 20 mA. Nothing for other input types, or when the calibration
// cannot give one (the conversion fails on it too).
std::optional<double> LoopMilliamps(const AcquisitionState& state, int slot);

// Where a PT-100 or thermocouple channel's reading lies against the range its
// search covers: the PT-100 curve from -200 to 850 degrees, the J and K tables up
// to their search limits. Inside for other input types, and when the reading
// cannot be worked out (the conversion fails on it).
TableReading ReadingAgainstTable(const AcquisitionState& state, int slot);

}  // namespace vantrel
