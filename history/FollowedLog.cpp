#include "history/FollowedLog.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

namespace vantrel::history {

FollowedLog::FollowedLog(std::string path, LogReadOptions options, std::size_t chunkBytes)
    : path_(std::move(path)),
      reader_(std::move(options)),
      chunkBytes_(std::max<std::size_t>(chunkBytes, 1)) {}

std::optional<std::uint64_t> FollowedLog::fileSize() const {
    std::error_code error;
    const std::uint64_t size = std::filesystem::file_size(std::filesystem::u8path(path_), error);
    if (error) {
        return std::nullopt;
    }
    return size;
}

std::optional<std::uint64_t> FollowedLog::readTo(std::uint64_t end,
                                                 const std::function<bool(std::uint64_t)>& goOn) {
    std::ifstream file(std::filesystem::u8path(path_), std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::uint64_t read = 0;
    if (file.seekg(static_cast<std::streamoff>(offset_))) {
        std::vector<char> chunk(chunkBytes_);
        // A file cut short or gone while it is read simply ends there.
        while (offset_ < end && file) {
            const auto want =
                static_cast<std::streamsize>(std::min<std::uint64_t>(chunk.size(), end - offset_));
            file.read(chunk.data(), want);
            const auto got = static_cast<std::size_t>(file.gcount());
            if (got == 0) {
                break;
            }
            reader_.feed({chunk.data(), got});
            offset_ += got;
            read += got;
            if (goOn && !goOn(read)) {
                break;
            }
        }
    }
    reader_.settle();
    return read;
}

std::optional<std::uint64_t> FollowedLog::readMore(std::uint64_t bytes) {
    const std::uint64_t most = std::numeric_limits<std::uint64_t>::max();
    return readTo(offset_ > most - bytes ? most : offset_ + bytes);
}

}  // namespace vantrel::history
