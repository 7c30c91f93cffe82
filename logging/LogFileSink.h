#pragma once

// Where log lines go. The logger and the save options window write through this
// interface so that a test can hand them a file that fails.

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

class LogFileSink {
  public:
    virtual ~LogFileSink() = default;

    // Creates the file, or empties an existing one, and writes text into it.
    // Nothing on success, otherwise what failed.
    virtual std::optional<std::string> replace(const std::string& path, std::string_view text) = 0;
    // Opens the file for appending (creating it when missing), writes text and
    // closes it. On failure the file holds none of text, so retrying the same
    // text later cannot leave half a line behind. Nothing on success, otherwise
    // what failed.
    virtual std::optional<std::string> append(const std::string& path, std::string_view text) = 0;
};

// Real files on disk; the path is UTF-8. The file is held open only while writing,
// so other programs may read it between writes.
class DiskLogFileSink : public LogFileSink {
  public:
    std::optional<std::string> replace(const std::string& path, std::string_view text) override;
    std::optional<std::string> append(const std::string& path, std::string_view text) override;
};

}  // namespace vantrel
