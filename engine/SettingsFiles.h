#pragma once

// The three settings files in one place, reading and writing side by side, so
// their field order cannot drift apart:
//  - vtrl.con: the two COM port numbers, print style;
//  - vtrlo.con: line directions, then per channel slot its type, range,
//    calibration and plot/save marks, write style, one value a line;
//  - vtrls.con: logging options and channel names, write style.

#include <string>

#include "engine/AcquisitionState.h"
#include "engine/FieldReader.h"

namespace vantrel {

inline constexpr int kChannelSettingsLines = kUsedLines + kUsedChannels * 9;
inline constexpr int kLogSettingsLines = 6 + kUsedChannels;

std::string PortSettingsText(const AcquisitionState& state);
std::string ChannelSettingsText(const AcquisitionState& state);
std::string LogSettingsText(const AcquisitionState& state);

// Each reads its file's fields in order into the state; false as soon as a field is
// missing or does not read as its type. Fields read before that are already stored,
// so callers that want all or nothing read into a copy.
bool ReadPortSettings(FieldReader& reader, AcquisitionState& state);
bool ReadChannelSettings(FieldReader& reader, AcquisitionState& state);
bool ReadLogSettings(FieldReader& reader, AcquisitionState& state);

}  // namespace vantrel
