#pragma once

// Input type codes as stored in InputType and in the settings and configuration
// files, with the texts the configuration window lists in code order.

#include <array>

namespace vantrel::input_type {

inline constexpr int kVoltage10V = 0;
inline constexpr int kCurrent20mA = 1;
inline constexpr int kCurrent4To20mA = 2;
inline constexpr int kMillivolt200 = 3;
inline constexpr int kRtd = 4;
inline constexpr int kThermocoupleJ = 5;
inline constexpr int kThermocoupleK = 6;
inline constexpr int kCount = 7;

inline constexpr std::array<const char*, kCount> kNames = {
    "+/- 10V", "0 ~ 20 mA", "4 ~ 20 mA", "0 ~ 200 mV", "PT-100", "T/C - J", "T/C - K"};
// The unit of each type's converted value. A voltage or current channel scaled to
// another range reads in whatever unit the user meant by that range.
inline constexpr std::array<const char*, kCount> kUnits = {"V",     "mA",    "mA",   "mV",
                                                           "deg.C", "deg.C", "deg.C"};

// Decimals a value is shown with: voltages and currents to hundredths, the PT-100
// to tenths of a degree, the thermocouples (whose search works in half degrees) and
// unknown codes whole.
constexpr int DecimalsForInputType(int inputType) {
    if (inputType >= kVoltage10V && inputType <= kMillivolt200) {
        return 2;
    }
    return inputType == kRtd ? 1 : 0;
}

}  // namespace vantrel::input_type
