#include "settings/DamagedCopy.h"

#include <filesystem>

#include "platform/Paths.h"

namespace vantrel {

namespace {
// Copies kept side by side before the folder is taken to be unusable.
constexpr int kMaxDamagedCopies = 1000;
}  // namespace

DamagedCopy KeepDamagedCopy(const std::string& path) {
    DamagedCopy copy;
    for (int attempt = 0; attempt < kMaxDamagedCopies; ++attempt) {
        copy.path = path + (attempt == 0 ? ".bad" : "." + std::to_string(attempt) + ".bad");
        copy.error.clear();
        if (std::filesystem::copy_file(NativePath(path), NativePath(copy.path),
                                       std::filesystem::copy_options::none, copy.error) ||
            copy.error != std::errc::file_exists) {
            break;
        }
    }
    if (copy.error && copy.error != std::errc::file_exists) {
        // Half a copy would pass for all of it.
        std::error_code ignored;
        std::filesystem::remove(NativePath(copy.path), ignored);
    }
    return copy;
}

}  // namespace vantrel
