#pragma once

// The [derived] part of vantrel.ini: derived1, derived2, ... one derived channel
// each, as its name, unit, decimals and expression separated by '|':
//
//   derived1 = dT | K | 2 | ch1 - ch0
//   derived2 = flow_mean | m³/h | 1 | mean(ch8, ch9, ch10, ch11)
//   saved = dT, flow_mean
//
// The blanks around each part are dropped; the unit may be empty; the
// expression is the rest of the line, so it may hold '|' itself ("a || b").
// '|' is used because ';' starts a comment in the file. saved names the derived
// channels logged after the marked channels. Its keys are rows of
// settings/IniKeys.h.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "derived/DerivedChannel.h"
#include "settings/IniValues.h"

namespace vantrel::derived {

// The channel, or why the text is not one ("decimals 12 is not 0 to 9").
std::variant<DerivedChannel, std::string> ParseDerivedChannel(std::string_view text);
std::string DerivedChannelText(const DerivedChannel& channel);

// In the order of their numbers; a text that is not a channel, a name used twice
// and a channel past the 16th are noted in problems, with why, and left out. An
// empty text is one switched off by hand and is passed over.
DerivedSettings ReadDerivedSettings(const ini::FileTexts& file,
                                    std::vector<ini::Problem>& problems);
// Numbered from derived1 on.
ini::SectionTexts DerivedSettingsTexts(const DerivedSettings& settings);

}  // namespace vantrel::derived
