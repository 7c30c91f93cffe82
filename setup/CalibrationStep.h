#pragma once

// The five calibration buttons share one procedure; they differ only in which raw
// counts are plausible, where the count is kept and how the taken point is shown.

#include <cstdint>

#include "engine/AcquisitionState.h"
#include "platform/Color.h"

namespace vantrel {

struct CalibrationStep {
    enum class Test { AtMost, AtLeast, Always };
    enum class Indicator { Zero, Span };
    using Table = Slots<std::int16_t, kChannelArraySize> AcquisitionState::*;

    Test test;
    std::int16_t limit;
    Table table;
    Indicator indicator;
    platform::Rgb colour;
    const char* colourName;
    const char* failMessage;  // only when the test can fail

    // Signed comparison: a slightly negative count at 0 V is a good zero.
    constexpr bool accepts(std::int16_t count) const {
        switch (test) {
            case Test::AtMost:
                return count <= limit;
            case Test::AtLeast:
                return count >= limit;
            case Test::Always:
                break;
        }
        return true;
    }
};

inline constexpr platform::Rgb kIndicatorBlack{0, 0, 0};
inline constexpr const char* kIndicatorBlackName = "black";

// A zero reading sits within a few counts of 0; 150 leaves room for offset and noise.
inline constexpr CalibrationStep kCalibrate0V{
    CalibrationStep::Test::AtMost,    150,         &AcquisitionState::CalZero10V,
    CalibrationStep::Indicator::Zero, {0, 0, 255}, "blue",
    "Analog Value too high"};
inline constexpr CalibrationStep kCalibrate10V{CalibrationStep::Test::AtLeast,
                                               26000,
                                               &AcquisitionState::CalSpan10V,
                                               CalibrationStep::Indicator::Span,
                                               {0, 0, 255},
                                               "blue",
                                               "Analog Value too low"};
inline constexpr CalibrationStep kCalibrate0mV{
    CalibrationStep::Test::AtMost,    150,         &AcquisitionState::CalZero200mV,
    CalibrationStep::Indicator::Zero, {0, 255, 0}, "green",
    "Analog Value too high"};
inline constexpr CalibrationStep kCalibrate200mV{CalibrationStep::Test::AtLeast,
                                                 23000,
                                                 &AcquisitionState::CalSpan200mV,
                                                 CalibrationStep::Indicator::Span,
                                                 {0, 255, 0},
                                                 "green",
                                                 "Analog Value too low"};
// The reference resistor's count depends on the card alone; any count is kept.
inline constexpr CalibrationStep kCalibrateRTD{CalibrationStep::Test::Always,
                                               0,
                                               &AcquisitionState::CalRTD,
                                               CalibrationStep::Indicator::Span,
                                               {255, 0, 0},
                                               "red",
                                               ""};

}  // namespace vantrel
