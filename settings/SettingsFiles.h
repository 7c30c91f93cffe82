#pragma once

// The three settings files in one place, reading and writing side by side, so
// their field order cannot drift apart:
//  - vtrl.con: the two COM port numbers, print style;
//  - vtrlo.con: line directions, then per channel slot its type, range,
//    calibration and plot/save marks, write style, one value a line;
//  - vtrls.con: logging options and channel names, write style.

#include <optional>
#include <string>

#include "engine/AcquisitionState.h"
#include "settings/FieldReader.h"

namespace vantrel {

inline constexpr int kChannelSettingsLines = kUsedLines + kUsedChannels * 9;
inline constexpr int kLogSettingsLines = 6 + kUsedChannels;

std::string PortSettingsText(const AcquisitionState& state);
std::string ChannelSettingsText(const AcquisitionState& state);
std::string LogSettingsText(const AcquisitionState& state);

// Each reads its file's fields in order into the state. Nothing when every field
// was read; otherwise reading stopped at a field that is missing or does not read as
// its type, and the text names it with its line ("line 40, the input range of
// channel 0"). The fields before it are already stored, the rest are untouched.
std::optional<std::string> ReadPortSettings(FieldReader& reader, AcquisitionState& state);
std::optional<std::string> ReadChannelSettings(FieldReader& reader, AcquisitionState& state);
std::optional<std::string> ReadLogSettings(FieldReader& reader, AcquisitionState& state);

// Write the settings files; nothing on success, otherwise what failed. A file held
// at start-up (HeldSettingsFiles) is not written, and that is what failed.
std::optional<std::string> SaveChannelSettings(const AcquisitionState& state);
std::optional<std::string> SaveLogSettings(const AcquisitionState& state);
// vtrl.con: " n " lines for the two port numbers.
std::optional<std::string> SavePortSettings(const AcquisitionState& state);

}  // namespace vantrel
