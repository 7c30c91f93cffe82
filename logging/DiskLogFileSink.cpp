#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <fstream>
#include <iterator>

#include "logging/LogFileSink.h"
#include "settings/AppPaths.h"
#include "settings/AtomicFile.h"
#include "settings/TextStyles.h"

namespace vantrel {

namespace {

enum class OpenMode { Replace, Append, CreateNew };

std::FILE* OpenFile(const std::filesystem::path& path, OpenMode mode) {
#ifdef _WIN32
    const wchar_t* modes[] = {L"wb", L"ab", L"wbx"};
    return _wfopen(path.c_str(), modes[static_cast<int>(mode)]);
#else
    // Non-blocking: opening a FIFO nobody reads would otherwise wait for a reader
    // with the whole window frozen; now it fails at once.
    const int flags[] = {O_WRONLY | O_CREAT | O_TRUNC, O_WRONLY | O_CREAT | O_APPEND,
                         O_WRONLY | O_CREAT | O_EXCL};
    const int fd =
        ::open(path.c_str(), flags[static_cast<int>(mode)] | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, mode == OpenMode::Append ? "ab" : "wb");
    if (file == nullptr) {
        const int error = errno;
        ::close(fd);
        errno = error;
    }
    return file;
#endif
}

std::string Describe(const std::string& path, int error) {
    return path + ": " + std::generic_category().message(error);
}

// Writes text and closes the file; the errno of the first failure, or 0.
int WriteAndClose(std::FILE* file, std::string_view text) {
    int error = 0;
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
        error = errno != 0 ? errno : EIO;
    }
    if (std::fflush(file) != 0 && error == 0) {
        error = errno != 0 ? errno : EIO;
    }
    if (std::fclose(file) != 0 && error == 0) {
        error = errno != 0 ? errno : EIO;
    }
    return error;
}

}  // namespace

std::optional<std::string> DiskLogFileSink::replace(const std::string& path,
                                                    std::string_view text) {
    errno = 0;
    std::FILE* file = OpenFile(NativePath(path), OpenMode::Replace);
    if (file == nullptr) {
        return Describe(path, errno != 0 ? errno : EIO);
    }
    errno = 0;
    if (const int error = WriteAndClose(file, text); error != 0) {
        return Describe(path, error);
    }
    return std::nullopt;
}

std::optional<std::string> DiskLogFileSink::replaceAtomically(const std::string& path,
                                                              std::string_view text) {
    if (std::optional<std::string> error = WriteFileAtomically(path, text)) {
        return error;
    }
#ifndef _WIN32
    // The rename is only sure to outlast a power cut once the folder is on the disk.
    // The text is in place either way, so a file system that cannot sync a folder
    // does not make the write fail.
    const std::filesystem::path folder = NativePath(path).parent_path();
    if (const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
        fd >= 0) {
        (void)!::fsync(fd);
        ::close(fd);
    }
#endif
    return std::nullopt;
}

#ifdef _WIN32
std::optional<std::string> DiskLogFileSink::append(const std::string& path, std::string_view text,
                                                   Flush) {
    const std::filesystem::path native = NativePath(path);
    errno = 0;
    std::FILE* file = OpenFile(native, OpenMode::Append);
    if (file == nullptr) {
        return Describe(path, errno != 0 ? errno : EIO);
    }
    long oldSize = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        oldSize = std::ftell(file);
    }
    errno = 0;
    if (const int error = WriteAndClose(file, text); error != 0) {
        if (oldSize >= 0) {
            std::error_code ignored;
            std::filesystem::resize_file(native, static_cast<std::uintmax_t>(oldSize), ignored);
        }
        return Describe(path, error);
    }
    return std::nullopt;
}

std::optional<std::string> DiskLogFileSink::flushToDisk(const std::string&) {
    return std::nullopt;
}
#else
std::optional<std::string> DiskLogFileSink::append(const std::string& path, std::string_view text,
                                                   Flush flush) {
    const std::filesystem::path native = NativePath(path);
    // A plain file is opened for reading too, to see how its last line ends; a
    // FIFO or a device is only ever written, and refuses at once when it would
    // block.
    std::error_code ignored;
    const bool plain = std::filesystem::is_regular_file(native, ignored);
    const int flags = O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(native.c_str(), flags | (plain ? O_RDWR : O_WRONLY), 0666);
    bool readable = plain && fd >= 0;
    if (fd < 0 && plain && errno == EACCES) {
        fd = ::open(native.c_str(), flags | O_WRONLY, 0666);
    }
    if (fd < 0) {
        return Describe(path, errno != 0 ? errno : EIO);
    }
    struct stat status {};
    const off_t oldSize =
        ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) ? status.st_size : -1;
    std::string mended;
    std::string_view out = text;
    char last = '\n';
    if (readable && oldSize > 0 && ::pread(fd, &last, 1, oldSize - 1) == 1 && last != '\n') {
        // A line torn by a power cut must not swallow the first record.
        mended = std::string(last == '\r' ? kLineEnd.substr(1) : kLineEnd) + std::string(text);
        out = mended;
    }
    // One write(2) for all of it: a reader never sees part of a line, and a line
    // is never split between two writes.
    int error = 0;
    if (!out.empty()) {
        ssize_t written = -1;
        do {
            written = ::write(fd, out.data(), out.size());
        } while (written < 0 && errno == EINTR);
        if (written < 0) {
            error = errno;
        } else if (static_cast<std::size_t>(written) != out.size()) {
            // Only a full disk or a size limit stops a write to a file part-way.
            error = ENOSPC;
        }
    }
    if (error == 0 && flush == Flush::ToDisk && ::fdatasync(fd) != 0) {
        error = errno;
    }
    if (error != 0 && oldSize >= 0) {
        // Cut back, so the same text can be tried again whole.
        (void)!::ftruncate(fd, oldSize);
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    return error != 0 ? std::optional(Describe(path, error)) : std::nullopt;
}

std::optional<std::string> DiskLogFileSink::flushToDisk(const std::string& path) {
    const std::filesystem::path native = NativePath(path);
    int error = 0;
    // A new file is only found after a power cut once its folder's entry is on the
    // disk as well.
    for (const std::filesystem::path& target : {native, native.parent_path()}) {
        const int fd =
            ::open(target.empty() ? "." : target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            error = error != 0 ? error : errno;
            continue;
        }
        if (::fsync(fd) != 0 && error == 0) {
            error = errno;
        }
        ::close(fd);
    }
    return error != 0 ? std::optional(Describe(path, error)) : std::nullopt;
}
#endif

std::optional<std::string> DiskLogFileSink::createNew(const std::string& path,
                                                      std::string_view text) {
    const std::filesystem::path native = NativePath(path);
    errno = 0;
    std::FILE* file = OpenFile(native, OpenMode::CreateNew);
    if (file == nullptr) {
        return Describe(path, errno != 0 ? errno : EIO);
    }
    errno = 0;
    if (const int error = WriteAndClose(file, text); error != 0) {
        // Half a file would pass for all of it.
        std::error_code ignored;
        std::filesystem::remove(native, ignored);
        return Describe(path, error);
    }
    return std::nullopt;
}

std::optional<std::string> DiskLogFileSink::copyToNew(const std::string& from,
                                                      const std::string& to) {
    const std::filesystem::path target = NativePath(to);
    std::error_code error;
    // A taken name is refused before copying: the copy reports a missing source
    // before it looks at the target, and the clean-up below must only ever remove a
    // half-written copy of its own, never a file that was already there.
    if (std::filesystem::exists(target, error)) {
        error = std::make_error_code(std::errc::file_exists);
    } else if (std::filesystem::copy_file(NativePath(from), target,
                                          std::filesystem::copy_options::none, error)) {
        return std::nullopt;
    }
    if (error != std::errc::file_exists) {
        std::error_code ignored;
        std::filesystem::remove(target, ignored);
    }
    return from + " -> " + to + ": " + error.message();
}

bool DiskLogFileSink::exists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(NativePath(path), ignored);
}

bool DiskLogFileSink::holdsExactly(const std::string& path, std::string_view text) {
    const std::filesystem::path native = NativePath(path);
    std::error_code error;
    // Only a plain file of the right size is read, so nothing here can block.
    if (!std::filesystem::is_regular_file(native, error) ||
        std::filesystem::file_size(native, error) != text.size() || error) {
        return false;
    }
    std::ifstream in(native, std::ios::binary);
    const std::string contents{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
    return contents == text;
}

bool DiskLogFileSink::isSpecialFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(NativePath(path), error);
    return std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

std::optional<std::uintmax_t> DiskLogFileSink::fileSize(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(NativePath(path), error);
    return error ? std::nullopt : std::optional(size);
}

std::optional<std::string> DiskLogFileSink::readTail(const std::string& path,
                                                     std::size_t maxBytes) {
    const std::filesystem::path native = NativePath(path);
    std::error_code error;
    // Only a plain file is read, so nothing here can block.
    if (!std::filesystem::is_regular_file(native, error)) {
        return std::nullopt;
    }
    std::ifstream in(native, std::ios::binary | std::ios::ate);
    if (!in) {
        return std::nullopt;
    }
    const std::streamoff size = in.tellg();
    const std::streamoff start = size > static_cast<std::streamoff>(maxBytes)
                                     ? size - static_cast<std::streamoff>(maxBytes)
                                     : 0;
    std::string tail(static_cast<std::size_t>(size - start), '\0');
    in.seekg(start);
    in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    tail.resize(static_cast<std::size_t>(in.gcount()));
    return tail;
}

std::optional<std::uintmax_t> DiskLogFileSink::freeSpace(const std::string& path) {
    std::filesystem::path where = NativePath(path);
    std::error_code error;
    // A file not written yet lives where its folder is.
    if (!std::filesystem::exists(where, error)) {
        where = where.parent_path().empty() ? std::filesystem::path(".") : where.parent_path();
    }
    const std::filesystem::space_info space = std::filesystem::space(where, error);
    return error ? std::nullopt : std::optional(space.available);
}

bool DiskLogFileSink::holdsData(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(NativePath(path), error);
    return !error && size > 0;
}

}  // namespace vantrel
