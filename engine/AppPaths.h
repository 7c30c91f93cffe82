#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "engine/AcquisitionState.h"

namespace vantrel {

// A folder joined with a file name, with the platform's separator.
std::string FolderFilePath(const std::string& folder, std::string_view fileName);
// The start folder joined with a file name.
std::string AppFilePath(const AcquisitionState& state, std::string_view fileName);

// Paths are kept as UTF-8 text; these turn them into the platform's own path and
// back, so names outside plain ASCII survive on every system.
std::filesystem::path NativePath(std::string_view utf8Path);
std::string Utf8Path(const std::filesystem::path& path);

inline constexpr const char* kPortsFile = "vtrl.con";
inline constexpr const char* kChannelSettingsFile = "vtrlo.con";
inline constexpr const char* kLogSettingsFile = "vtrls.con";
inline constexpr const char* kTableJFile = "j.tc";
inline constexpr const char* kTableKFile = "k.tc";

}  // namespace vantrel
