#pragma once

// The [channels] part of vantrel.ini: for each channel with a user scale its
// ch3_scale, ch3_unit and ch3_decimals (engine/ChannelScale.h gives their texts).
// Its keys are rows of settings/IniKeys.h.

#include <vector>

#include "engine/ChannelScale.h"
#include "settings/IniValues.h"

namespace vantrel::ini {

// A channel whose texts are refused is noted in problems, with why, and keeps no
// scale, so that a slip never shows a made-up value.
ChannelScales ReadChannelScales(const FileTexts& file, std::vector<Problem>& problems);
// Only the channels with a scale; the others have no keys.
SectionTexts ChannelScalesTexts(const ChannelScales& scales);

}  // namespace vantrel::ini
