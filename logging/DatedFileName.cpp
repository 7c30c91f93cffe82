#include "logging/DatedFileName.h"

#include <cstdio>
#include <filesystem>

#include "settings/AppPaths.h"

namespace vantrel {

namespace {

// Enough for a burst of files in one second; beyond it something else is wrong.
constexpr int kMaxAttempts = 1000;

}  // namespace

std::string DatedFileName(std::string_view fileName, std::string_view tag,
                          const platform::DateTime& when, int attempt) {
    const std::filesystem::path name = NativePath(fileName);
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "-%04d%02d%02d-%02d%02d%02d", when.year, when.month,
                  when.day, when.hour, when.minute, when.second);
    std::string dated = Utf8Path(name.stem()) + std::string(tag) + stamp;
    if (attempt >= 2) {
        dated += "-" + std::to_string(attempt);
    }
    return dated + Utf8Path(name.extension());
}

std::string FolderOf(const std::string& path) {
    return Utf8Path(NativePath(path).parent_path());
}

std::string FileNameOf(const std::string& path) {
    return Utf8Path(NativePath(path).filename());
}

DatedFile CreateUnderDatedName(
    LogFileSink& sink, const std::string& folder, std::string_view fileName, std::string_view tag,
    const platform::DateTime& when,
    const std::function<std::optional<std::string>(const std::string&)>& create) {
    DatedFile result;
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        result.path = FolderFilePath(folder, DatedFileName(fileName, tag, when, attempt));
        if (sink.exists(result.path)) {
            continue;
        }
        result.error = create(result.path);
        // Taken between the look and the write: try the next name.
        if (!result.error || !sink.exists(result.path)) {
            return result;
        }
    }
    result.error = "no free name for " + std::string(fileName) + " in " + folder;
    return result;
}

}  // namespace vantrel
