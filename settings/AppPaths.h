#pragma once

#include <string>
#include <string_view>

#include "engine/AcquisitionState.h"
#include "platform/Paths.h"

namespace vantrel {

// The start folder joined with a file name.
std::string AppFilePath(const AcquisitionState& state, std::string_view fileName);

inline constexpr const char* kPortsFile = "vtrl.con";
inline constexpr const char* kChannelSettingsFile = "vtrlo.con";
inline constexpr const char* kLogSettingsFile = "vtrls.con";
inline constexpr const char* kTableJFile = "j.tc";
inline constexpr const char* kTableKFile = "k.tc";

}  // namespace vantrel
