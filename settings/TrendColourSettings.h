#pragma once

// The [trend] part of vantrel.ini: the line colour the user picked for a channel
// of the Real Time Trend, as ch3_colour = #FF8000. A channel without one draws in
// its colour of the palette. Its key is a row of settings/IniKeys.h.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/AcquisitionState.h"
#include "platform/Color.h"
#include "settings/IniValues.h"

namespace vantrel::ini {

using TrendColourChoices = std::array<std::optional<platform::Rgb>, kUsedChannels>;

// "#RRGGBB" with hexadecimal digits of either case; nothing for any other text.
std::optional<platform::Rgb> ParseColourText(std::string_view text);
// "#FF8000": upper case, as the colour dialog's swatches name it.
std::string ColourText(platform::Rgb colour);

// A text that is not a colour is noted in problems and leaves the channel on its
// palette colour; an empty one is as if the key were missing.
TrendColourChoices ReadTrendColours(const FileTexts& file, std::vector<Problem>& problems);
// Only the channels with a chosen colour.
SectionTexts TrendColoursTexts(const TrendColourChoices& colours);

}  // namespace vantrel::ini
