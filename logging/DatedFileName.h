#pragma once

// Names for the files that keep records out of harm's way: the earlier contents of
// a log file about to be emptied, and records that could not reach their file at
// exit. The name carries the date and time, and a number when that is taken, so it
// never replaces a file that is already there.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "logging/LogFileSink.h"
#include "platform/Clock.h"

namespace vantrel {

// "run.csv" with tag "-unsaved" at 6 Dec 2026 14:05:09 gives
// "run-unsaved-20261206-140509.csv"; attempt 2 and on add "-2", "-3", ... before
// the extension.
std::string DatedFileName(std::string_view fileName, std::string_view tag,
                          const platform::DateTime& when, int attempt);

// The folder part of path ("" when it has none) and its last part.
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);

struct DatedFile {
    std::string path;                  // the name written, or the last one tried
    std::optional<std::string> error;  // nothing when the file was written
};

// Creates a file in folder under the first free dated name for fileName. create
// makes the file at the path it is given and must fail, not overwrite, when the
// name is taken.
DatedFile CreateUnderDatedName(
    LogFileSink& sink, const std::string& folder, std::string_view fileName, std::string_view tag,
    const platform::DateTime& when,
    const std::function<std::optional<std::string>(const std::string&)>& create);

}  // namespace vantrel
