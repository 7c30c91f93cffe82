#pragma once

// Lines for a descriptor (standard error) that never hold up the caller: a thread of
// its own does the writes, which may block for as long as the reader stalls (a
// stopped `| logger`, Ctrl+S in a terminal) or fail (a reader that went away).
// What cannot wait or be written is dropped and counted (ConsoleLineQueue).
// O_NONBLOCK on the descriptor would do it without a thread, but the descriptor's
// flags are shared with the shell or terminal it came from.

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "platform/ConsoleLineQueue.h"

namespace vantrel::platform {

struct ConsoleWriterState;

class ConsoleWriter {
  public:
    // How long the end of the program waits for the last lines to go out.
    static constexpr std::chrono::milliseconds kExitWait{500};

    explicit ConsoleWriter(int fd, std::size_t capacity = ConsoleLineQueue::kCapacity);
    // Waits at most kExitWait, then leaves a blocked write behind.
    ~ConsoleWriter();
    ConsoleWriter(const ConsoleWriter&) = delete;
    ConsoleWriter& operator=(const ConsoleWriter&) = delete;

    // A line without its newline; returns at once.
    void writeLine(std::string line);
    // Waits until every line so far is written, or failed, or limit passes; true
    // when nothing is left.
    bool drain(std::chrono::milliseconds limit);

  private:
    // Shared with the thread, so a write that never returns outlives the writer.
    std::shared_ptr<ConsoleWriterState> state_;
};

// Standard error of the program: made on first use, drained for at most kExitWait
// when the process exits.
ConsoleWriter& StandardError();
inline void WriteErrorLine(std::string line) {
    StandardError().writeLine(std::move(line));
}

}  // namespace vantrel::platform
