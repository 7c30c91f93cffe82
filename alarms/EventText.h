#pragma once

// An event in a few words, for a line on standard error and the published events:
// "Event: alarm raised CH3 critical 81.2: CH3 above 80".

#include <string>

#include "alarms/RunEvent.h"

namespace vantrel::alarms {

// The shortest text that reads back as the value. A reading converted as a float
// is written as that float ("81.2", not "81.19999694824219").
std::string EventValueText(double value);

// "<kind>[ <channel>][ <level>][ <value>][: <text>]".
std::string EventDescription(const RunEvent& event);
// The description after "Event: ".
std::string EventLine(const RunEvent& event);

}  // namespace vantrel::alarms
