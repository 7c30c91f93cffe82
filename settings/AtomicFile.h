#pragma once

// Whole-file writes that never leave a truncated file behind: the contents go to a
// temporary file in the same folder, which then replaces the target. On failure the
// old file (if any) is untouched and the temporary is removed. A path that is a
// symbolic link is written through to the file it names (the temporary beside
// that file), so a file kept in a shared folder stays shared.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Nothing on success, otherwise a description of what failed, naming the file.
std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view contents);

// The same for contents too large to hold at once: `write` hands them over piece by
// piece to `put`, and returns false when a piece could not be written (put said so)
// or could not be made.
using PutPiece = std::function<bool(std::string_view piece)>;
using ContentsWriter = std::function<bool(const PutPiece& put)>;
std::optional<std::string> WriteFileAtomically(const std::string& path,
                                               const ContentsWriter& write);

}  // namespace vantrel
