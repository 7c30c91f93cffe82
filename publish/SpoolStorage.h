#pragma once

// Where the spool keeps its bytes: a file in the start folder, or memory (tests,
// fuzzing, and a start folder that cannot be written).

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace vantrel::publish {

class SpoolStorage {
  public:
    virtual ~SpoolStorage() = default;
    virtual std::uint64_t size() const = 0;
    // Exactly out.size() bytes from offset; false when they are not all there.
    virtual bool read(std::uint64_t offset, std::span<char> out) = 0;
    virtual bool write(std::uint64_t offset, std::string_view data) = 0;
    virtual bool truncate(std::uint64_t size) = 0;
    // Hands what was written to the system, where it outlives the program.
    virtual bool flush() = 0;
    // Why the last write failed, for the user: "disk full", ...
    virtual std::string failure() const { return "cannot be written"; }
};

class MemorySpoolStorage : public SpoolStorage {
  public:
    explicit MemorySpoolStorage(std::string bytes = {}) : bytes_(std::move(bytes)) {}
    std::uint64_t size() const override { return bytes_.size(); }
    bool read(std::uint64_t offset, std::span<char> out) override;
    bool write(std::uint64_t offset, std::string_view data) override;
    bool truncate(std::uint64_t size) override;
    bool flush() override { return true; }
    const std::string& bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

// Each write goes to the system at once: one the disk refuses fails for the
// message that made it, instead of later, when the buffer's bytes of earlier
// messages would be dropped while the spool counted them as kept.
class FileSpoolStorage : public SpoolStorage {
  public:
    // Opens the file, creating it when missing; nothing when it cannot be opened
    // for reading and writing.
    static std::unique_ptr<FileSpoolStorage> Open(const std::string& path);
    ~FileSpoolStorage() override;
    FileSpoolStorage(const FileSpoolStorage&) = delete;
    FileSpoolStorage& operator=(const FileSpoolStorage&) = delete;

    std::uint64_t size() const override { return size_; }
    bool read(std::uint64_t offset, std::span<char> out) override;
    bool write(std::uint64_t offset, std::string_view data) override;
    bool truncate(std::uint64_t size) override;
    bool flush() override;
    std::string failure() const override { return failure_; }

  private:
    FileSpoolStorage(std::FILE* file, std::string path, std::uint64_t size);
    bool seek(std::uint64_t offset);

    std::FILE* file_;
    std::string path_;
    std::uint64_t size_;
    std::string failure_;
};

}  // namespace vantrel::publish
