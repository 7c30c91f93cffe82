#pragma once

// The words of the built-in faults, for the alarm list, the events and messages.

#include <optional>
#include <string>

#include "alarms/Alarm.h"
#include "engine/Conversion.h"

namespace vantrel::alarms {

// A broken loop or a failed transmitter, by the common convention for 4-20 mA
// loops: a live loop never reads below 3.6 mA nor above 21.0 mA.
inline constexpr double kLoopLowMilliamps = 3.6;
inline constexpr double kLoopHighMilliamps = 21.0;

// The text of a built-in fault other than a failed conversion.
const char* FaultText(AlarmKind kind);
// "Conversion failed: division by zero" for the slot that failed, "Not
// converted: CH3 failed before it" for the slots after it on its card.
std::string ConversionFaultText(const ConversionFailure& failure, int slot);
// "card 1", "card 2".
std::string CardName(int card);

}  // namespace vantrel::alarms
