#pragma once

// Paths as UTF-8 text: joined with the platform's separator, and turned into the
// platform's own path and back, so names outside plain ASCII survive everywhere.

#include <filesystem>
#include <string>
#include <string_view>

namespace vantrel {

// A folder joined with a file name, with the platform's separator.
std::string FolderFilePath(const std::string& folder, std::string_view fileName);

std::filesystem::path NativePath(std::string_view utf8Path);
std::string Utf8Path(const std::filesystem::path& path);

}  // namespace vantrel
