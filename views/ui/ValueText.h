#pragma once

// How the live views write a channel's value: fixed decimals chosen by the
// channel's input type, written as every window writes numbers (ScreenNumbers.h).

#include <QString>

namespace vantrel {

QString ChannelValueText(float value, int inputType);

}  // namespace vantrel
