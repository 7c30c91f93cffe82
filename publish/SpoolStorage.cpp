#include "publish/SpoolStorage.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <system_error>

#include "settings/AppPaths.h"

namespace vantrel::publish {

bool MemorySpoolStorage::read(std::uint64_t offset, std::span<char> out) {
    if (offset > bytes_.size() || out.size() > bytes_.size() - offset) {
        return false;
    }
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
    return true;
}

bool MemorySpoolStorage::write(std::uint64_t offset, std::string_view data) {
    if (offset + data.size() > bytes_.size()) {
        bytes_.resize(offset + data.size());
    }
    std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
    return true;
}

bool MemorySpoolStorage::truncate(std::uint64_t size) {
    bytes_.resize(size);
    return true;
}

std::unique_ptr<FileSpoolStorage> FileSpoolStorage::Open(const std::string& path) {
    const std::filesystem::path native = NativePath(path);
    std::error_code error;
    const bool exists = std::filesystem::exists(native, error);
    std::FILE* file = std::fopen(native.c_str(), exists ? "r+b" : "w+b");
    if (file == nullptr) {
        return nullptr;
    }
    const std::uintmax_t size = exists ? std::filesystem::file_size(native, error) : 0;
    if (error) {
        std::fclose(file);
        return nullptr;
    }
    return std::unique_ptr<FileSpoolStorage>(new FileSpoolStorage(file, path, size));
}

FileSpoolStorage::FileSpoolStorage(std::FILE* file, std::string path, std::uint64_t size)
    : file_(file), path_(std::move(path)), size_(size) {}

FileSpoolStorage::~FileSpoolStorage() {
    std::fclose(file_);
}

bool FileSpoolStorage::seek(std::uint64_t offset) {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<long>::max())) {
        return false;
    }
    return std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0;
}

bool FileSpoolStorage::read(std::uint64_t offset, std::span<char> out) {
    if (offset > size_ || out.size() > size_ - offset || !seek(offset)) {
        return false;
    }
    return std::fread(out.data(), 1, out.size(), file_) == out.size();
}

bool FileSpoolStorage::write(std::uint64_t offset, std::string_view data) {
    errno = 0;
    if (!seek(offset) || std::fwrite(data.data(), 1, data.size(), file_) != data.size() ||
        std::fflush(file_) != 0) {
        const int error = errno;
        failure_ = error == ENOSPC ? "disk full"
                   : error == 0    ? "cannot be written"
                                   : std::generic_category().message(error);
        std::clearerr(file_);
        return false;
    }
    size_ = std::max(size_, offset + data.size());
    return true;
}

bool FileSpoolStorage::truncate(std::uint64_t size) {
    if (std::fflush(file_) != 0) {
        return false;
    }
    std::error_code error;
    std::filesystem::resize_file(NativePath(path_), size, error);
    if (error) {
        return false;
    }
    size_ = size;
    return true;
}

bool FileSpoolStorage::flush() {
    return std::fflush(file_) == 0;
}

}  // namespace vantrel::publish
