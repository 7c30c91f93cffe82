#include "settings/AtomicFile.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace vantrel {

namespace {

std::string TemporaryPathFor(const std::string& path) {
    // Unique within the process; the folder is the program's own, so a clash with
    // another program's file is not a concern beyond the name's suffix.
    static std::atomic<unsigned> counter{0};
#ifndef _WIN32
    const long pid = static_cast<long>(::getpid());
#else
    const long pid = 0;
#endif
    return path + ".tmp" + std::to_string(pid) + "-" + std::to_string(counter++);
}

bool WriteAndFlush(std::FILE* file, const ContentsWriter& write) {
    const PutPiece put = [file](std::string_view piece) {
        return piece.empty() || std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
    };
    if (!write(put)) {
        return false;
    }
    if (std::fflush(file) != 0) {
        return false;
    }
#ifndef _WIN32
    // The rename must not reach the disk before the data does.
    if (::fsync(::fileno(file)) != 0) {
        return false;
    }
#endif
    return true;
}

// The file a chain of symbolic links ends at; path itself when it is no link.
std::filesystem::path FinalTarget(const std::filesystem::path& path) {
    // More links than this is a loop; the rename then replaces the last one read.
    constexpr int kMaxLinks = 40;
    std::filesystem::path target = path;
    std::error_code error;
    for (int hop = 0; hop < kMaxLinks && std::filesystem::is_symlink(target, error); ++hop) {
        const std::filesystem::path next = std::filesystem::read_symlink(target, error);
        if (error) {
            break;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return target;
}

}  // namespace

std::optional<std::string> WriteFileAtomically(const std::string& path, std::string_view contents) {
    return WriteFileAtomically(path, [contents](const PutPiece& put) { return put(contents); });
}

std::optional<std::string> WriteFileAtomically(const std::string& linkOrPath,
                                               const ContentsWriter& write) {
    const std::string path = FinalTarget(linkOrPath).string();
    const std::string temporary = TemporaryPathFor(path);
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        return "Cannot create " + path;
    }
    const bool written = WriteAndFlush(file, write);
    const bool closed = std::fclose(file) == 0;
    std::error_code ignored;
    if (!written || !closed) {
        std::filesystem::remove(temporary, ignored);
        return "Cannot write " + path;
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, path, renameError);
    if (renameError) {
        std::filesystem::remove(temporary, ignored);
        return "Cannot replace " + path + ": " + renameError.message();
    }
    return std::nullopt;
}

}  // namespace vantrel
