#include "platform/ConsoleWriter.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

namespace vantrel::platform {

struct ConsoleWriterState {
    explicit ConsoleWriterState(int descriptor, std::size_t capacity)
        : fd(descriptor), queue(capacity) {}

    const int fd;
    std::mutex mutex;
    std::condition_variable changed;
    ConsoleLineQueue queue;
    bool writing = false;
    bool stop = false;
};

namespace {

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

void WriteLoop(const std::shared_ptr<ConsoleWriterState>& state) {
    ConsoleWriterState& shared = *state;
    std::unique_lock lock(shared.mutex);
    for (;;) {
        shared.changed.wait(lock, [&] { return shared.stop || !shared.queue.empty(); });
        std::optional<ConsoleLineQueue::Text> text = shared.queue.pop();
        if (!text) {
            return;
        }
        shared.writing = true;
        lock.unlock();
        const bool written = WriteAll(shared.fd, text->bytes);
        lock.lock();
        shared.writing = false;
        if (!written) {
            shared.queue.lost(text->lines);
        }
        shared.changed.notify_all();
    }
}

}  // namespace

ConsoleWriter::ConsoleWriter(int fd, std::size_t capacity)
    : state_(std::make_shared<ConsoleWriterState>(fd, capacity)) {
    // Signals are for the event loop's thread. Blocked here, a write to a pipe nobody
    // reads fails with EPIPE instead of ending the program even where SIGPIPE is not
    // ignored.
    sigset_t all;
    sigset_t before;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &before);
    std::thread(WriteLoop, state_).detach();
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

ConsoleWriter::~ConsoleWriter() {
    drain(kExitWait);
    const std::lock_guard lock(state_->mutex);
    state_->stop = true;
    state_->changed.notify_all();
}

void ConsoleWriter::writeLine(std::string line) {
    const std::lock_guard lock(state_->mutex);
    state_->queue.push(std::move(line));
    state_->changed.notify_all();
}

bool ConsoleWriter::drain(std::chrono::milliseconds limit) {
    std::unique_lock lock(state_->mutex);
    state_->queue.tellLost();
    state_->changed.notify_all();
    return state_->changed.wait_for(lock, limit,
                                    [&] { return state_->queue.empty() && !state_->writing; });
}

ConsoleWriter& StandardError() {
    // Never destroyed: lines may come from exit hooks after static destructors ran.
    static ConsoleWriter* const writer = [] {
        auto* made = new ConsoleWriter(STDERR_FILENO);
        std::atexit([] { StandardError().drain(ConsoleWriter::kExitWait); });
        return made;
    }();
    return *writer;
}

}  // namespace vantrel::platform
