#pragma once

// Whole-file writes that never leave a truncated file behind: the contents go to a
// temporary file in the same folder, which then replaces the target. On failure the
// old file (if any) is untouched and the temporary is removed.

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Nothing on success, otherwise a description of what failed, naming the file.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view contents);

}  // namespace vantrel
