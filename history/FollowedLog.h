#pragma once

// A log file read on from where the last reading stopped: first up to the size it
// had when reading began, so that a file growing faster than it is read still ends,
// then what the logger appends, as a live history grows. The file is opened only
// for each reading, as the logger opens it only for each record.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "history/LogReader.h"

namespace vantrel::history {

class FollowedLog {
  public:
    FollowedLog(std::string path, LogReadOptions options, std::size_t chunkBytes = 1 << 20);

    // The file's size now; nothing when it cannot be read.
    std::optional<std::uint64_t> fileSize() const;
    // Reads on up to byte `end` of the file or its end, a chunk at a time;
    // `goOn(bytesReadSoFar)` after each chunk may stop it. The bytes read, or nothing
    // when the file cannot be opened. A file now shorter than what was read (replaced
    // or cut) gives nothing more.
    std::optional<std::uint64_t> readTo(std::uint64_t end,
                                        const std::function<bool(std::uint64_t)>& goOn = {});
    // Reads on by at most `bytes`.
    std::optional<std::uint64_t> readMore(std::uint64_t bytes);

    const LogReader& reader() const { return reader_; }
    const HistoryDocument& document() const { return reader_.document(); }

  private:
    std::string path_;
    LogReader reader_;
    std::size_t chunkBytes_;
    std::uint64_t offset_ = 0;
};

}  // namespace vantrel::history
