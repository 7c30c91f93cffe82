#pragma once

// Reads a log file on a worker thread, a megabyte at a time, so that a file of
// gigabytes neither blocks the window nor fills the memory; it can be cancelled
// between pieces. It reads up to the size the file had when it began, and hands
// over the file read so far, for the window to read on from there. The window asks
// for the progress on its own timer and is told on its thread when the reading has
// ended.

#include <QObject>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "history/FollowedLog.h"
#include "history/HistoryDocument.h"
#include "history/LogReader.h"

namespace vantrel {

class LogLoader : public QObject {
    Q_OBJECT

  public:
    struct Result {
        std::unique_ptr<history::FollowedLog> log;
        std::string problems;  // the lines that could not be read
        std::string error;     // the file could not be read at all
        bool cancelled = false;
    };

    LogLoader(std::string path, history::LogReadOptions options, QObject* parent = nullptr);
    // Cancels a reading still under way and waits for it.
    ~LogLoader() override;

    void start();
    void cancel() { cancel_ = true; }
    // Waits until the worker has ended; finished() still comes through the event loop.
    void wait();
    bool running() const { return worker_.joinable() && !done_; }
    // 0..100.
    int percent() const;
    Result takeResult() { return std::move(result_); }

  signals:
    void finished();

  private:
    void read();

    std::string path_;
    history::LogReadOptions options_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> done_{false};
    std::atomic<std::uint64_t> bytesRead_{0};
    std::atomic<std::uint64_t> size_{0};
    Result result_;  // written by the worker until done_
};

// Reading options for a log on this computer: local times through the system's
// time zone, time-only records from the day the file was made.
history::LogReadOptions LocalLogOptions(const std::string& path);

}  // namespace vantrel
