#pragma once

// The lines waiting for standard error, and the rule for those that cannot go out:
// a line that finds the queue full is dropped, and so is one whose write failed;
// both are counted, and the count is told in a line of its own before the next
// line that is written.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace vantrel::platform {

class ConsoleLineQueue {
  public:
    // Status lines come at most a few a second; this many waiting means nobody reads.
    static constexpr std::size_t kCapacity = 256;

    // What to write next, and how many lines it holds (lost if it cannot be written).
    struct Text {
        std::string bytes;
        std::uint64_t lines = 0;
    };

    explicit ConsoleLineQueue(std::size_t capacity = kCapacity) : capacity_(capacity) {}

    // A line without its newline.
    void push(std::string line);
    // The next line with its newline, after the count of those lost before it.
    std::optional<Text> pop();
    // A text from pop() could not be written.
    void lost(std::uint64_t lines) { lost_ += lines; }
    // Lost lines that no later line would tell about get a text of their own.
    void tellLost();
    bool empty() const { return entries_.empty(); }

    // "vantrel: 3 status lines could not be written"
    static std::string LostLine(std::uint64_t lines);

  private:
    struct Entry {
        std::optional<std::string> line;  // nothing: only the count
        std::uint64_t lostBefore = 0;
    };

    std::size_t capacity_;
    std::deque<Entry> entries_;
    std::uint64_t lost_ = 0;  // not yet told
};

}  // namespace vantrel::platform
