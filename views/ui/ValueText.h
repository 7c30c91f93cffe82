#pragma once

// How the live views write a channel's value: fixed decimals chosen by the
// channel's input type, written as every window writes numbers (ScreenNumbers.h).

#include <QString>

namespace vantrel {

// 2 for the voltage and current types (0..3), 1 for PT-100 (4), none for the
// thermocouples and any other code.
int DecimalsForInputType(int inputType);

QString ChannelValueText(float value, int inputType);

}  // namespace vantrel
