#pragma once

// Whole-file writes that never leave a truncated file behind: the contents go to a
// temporary file in the same folder, which then replaces the target. On failure the
// old file (if any) is untouched and the temporary is removed. A path that is a
// symbolic link is written through to the file it names (the temporary beside
// that file), so a file kept in a shared folder stays shared.

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Nothing on success, otherwise a description of what failed, naming the file.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view contents);

}  // namespace vantrel
