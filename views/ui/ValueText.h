#pragma once

// How the live views write a channel's value: fixed decimals chosen by the
// channel's input type, written as every window writes numbers (ScreenNumbers.h).

#include <QString>

#include "engine/ChannelScale.h"

namespace vantrel {

QString ChannelValueText(float value, int inputType);
// A value through the channel's user scale: its decimals (the input type's when it
// has none) and its unit after a blank, "5.0 bar".
QString ScaledValueText(double scaled, int inputType, const ChannelScale& scale);

}  // namespace vantrel
