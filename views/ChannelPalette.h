#pragma once

// The channels' line colours where the user has chosen none, the same in the Real
// Time Trend and in History, so that a channel looks alike in both.

#include "platform/Color.h"

namespace vantrel {

// Sixteen colours that tell apart on white; an index past them starts over.
platform::Rgb ChannelPaletteColour(int index);

}  // namespace vantrel
