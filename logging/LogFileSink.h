#pragma once

// Where log lines go. The logger and the save options window write through this
// interface so that a test can hand them a file that fails.

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The title of every message about log records or a log file that cannot be
// written, from the save options window and from the logger alike.
inline constexpr const char* kSaveErrorTitle = "Save Error";

// Every operation that can fail returns nothing on success, otherwise what failed,
// naming the file.
class LogFileSink {
  public:
    virtual ~LogFileSink() = default;

    // Creates the file, or empties an existing one, and writes text into it. A file
    // that cannot be opened for writing is left as it was.
    virtual std::optional<std::string> replace(const std::string& path, std::string_view text) = 0;
    // Opens the file for appending (creating it when missing), writes text and
    // closes it. On failure the file holds none of text, so retrying the same
    // text later cannot leave half a line behind.
    virtual std::optional<std::string> append(const std::string& path, std::string_view text) = 0;
    // Creates a file that does not exist yet and writes text into it; fails rather
    // than touch a file that is already there.
    virtual std::optional<std::string> createNew(const std::string& path,
                                                 std::string_view text) = 0;
    // Copies the file from into a file to that does not exist yet; fails rather
    // than touch a file that is already there.
    virtual std::optional<std::string> copyToNew(const std::string& from,
                                                 const std::string& to) = 0;
    // Whether anything, file or folder, has that name.
    virtual bool exists(const std::string& path) = 0;
    // Whether the file exists and holds at least one byte.
    virtual bool holdsData(const std::string& path) = 0;
    // Whether the file holds exactly text and nothing else.
    virtual bool holdsExactly(const std::string& path, std::string_view text) = 0;
    // Whether something other than a plain file (a folder, a FIFO, a device) has
    // that name; a symbolic link counts as what it names.
    virtual bool isSpecialFile(const std::string& path) = 0;
};

// Real files on disk; the path is UTF-8. The file is held open only while writing,
// so other programs may read it between writes. Every open is non-blocking, so a
// FIFO or a device under the name cannot freeze the program.
class DiskLogFileSink : public LogFileSink {
  public:
    std::optional<std::string> replace(const std::string& path, std::string_view text) override;
    std::optional<std::string> append(const std::string& path, std::string_view text) override;
    std::optional<std::string> createNew(const std::string& path, std::string_view text) override;
    std::optional<std::string> copyToNew(const std::string& from, const std::string& to) override;
    bool exists(const std::string& path) override;
    bool holdsData(const std::string& path) override;
    bool holdsExactly(const std::string& path, std::string_view text) override;
    bool isSpecialFile(const std::string& path) override;
};

}  // namespace vantrel
