#pragma once

// Where log lines go. The logger and the save options window write through this
// interface so that a test can hand them a file that fails.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The title of every message about log records or a log file that cannot be
// written, from the save options window and from the logger alike.
inline constexpr const char* kSaveErrorTitle = "Save Error";

// Whether an append returns only once its text is on the disk itself (it then
// survives a power cut), or as soon as the system holds it.
enum class Flush { No, ToDisk };

// Every operation that can fail returns nothing on success, otherwise what failed,
// naming the file.
class LogFileSink {
  public:
    virtual ~LogFileSink() = default;

    // Creates the file, or empties an existing one, and writes text into it. A file
    // that cannot be opened for writing is left as it was.
    virtual std::optional<std::string> replace(const std::string& path, std::string_view text) = 0;
    // The file holds exactly text from now on, or on failure what it held before;
    // once it returns, that stays so after a power cut too (the text goes to a
    // temporary file beside it, which is then renamed over it, and the folder is
    // handed to the disk).
    virtual std::optional<std::string> replaceAtomically(const std::string& path,
                                                         std::string_view text) = 0;
    // Opens the file for appending (creating it when missing), writes text in one
    // piece and closes it. A file whose last line has no line end (cut short by a
    // power cut) first gets one, so text starts a line of its own. On failure the
    // file holds none of text, so retrying the same text later cannot leave half a
    // line behind.
    virtual std::optional<std::string> append(const std::string& path, std::string_view text,
                                              Flush flush) = 0;
    // Hands what was appended to the file, and the file's entry in its folder, to
    // the disk.
    virtual std::optional<std::string> flushToDisk(const std::string& path) = 0;
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
    // The file's size in bytes, or nothing when it cannot be told (no such file).
    virtual std::optional<std::uintmax_t> fileSize(const std::string& path) = 0;
    // The last bytes of the file, at most maxBytes of them; nothing when it cannot
    // be read.
    virtual std::optional<std::string> readTail(const std::string& path, std::size_t maxBytes) = 0;
    // Bytes still free for this user on the file system the file is (or would be)
    // on; nothing when it cannot be told.
    virtual std::optional<std::uintmax_t> freeSpace(const std::string& path) = 0;
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
    std::optional<std::string> replaceAtomically(const std::string& path,
                                                 std::string_view text) override;
    std::optional<std::string> append(const std::string& path, std::string_view text,
                                      Flush flush) override;
    std::optional<std::string> flushToDisk(const std::string& path) override;
    std::optional<std::string> createNew(const std::string& path, std::string_view text) override;
    std::optional<std::string> copyToNew(const std::string& from, const std::string& to) override;
    bool exists(const std::string& path) override;
    bool holdsData(const std::string& path) override;
    std::optional<std::uintmax_t> fileSize(const std::string& path) override;
    std::optional<std::string> readTail(const std::string& path, std::size_t maxBytes) override;
    std::optional<std::uintmax_t> freeSpace(const std::string& path) override;
    bool holdsExactly(const std::string& path, std::string_view text) override;
    bool isSpecialFile(const std::string& path) override;
};

}  // namespace vantrel
