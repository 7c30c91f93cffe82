#pragma once

// Appends a record of the channels marked for saving to the log file once per
// logging interval. Driven by the main window's one-second timer; the interval is
// a count of these ticks, counted only while logging is on and card 1 is connected.
//
// A record that cannot be written (missing folder, file locked, disk full) is not
// lost: it waits in memory, in order, and goes to the file at the first tick on
// which the file can be written again. While records wait, SaveError is set and the
// user is told once per failure. The wait is bounded; beyond the bound the oldest
// records are dropped and their number reported.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "engine/AcquisitionState.h"
#include "logging/LogFileSink.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"

namespace vantrel {

class DataLogger {
  public:
    // A day of one-second records.
    static constexpr std::size_t kDefaultMaxPending = 86400;

    // Writes to real files.
    DataLogger(AcquisitionState& state, const platform::Clock& clock, platform::Dialogs& dialogs);
    // Writes through sink, which must outlive the logger.
    DataLogger(AcquisitionState& state, const platform::Clock& clock, platform::Dialogs& dialogs,
               LogFileSink& sink, std::size_t maxPending = kDefaultMaxPending);
    // Makes one last attempt to write the records still waiting.
    ~DataLogger();

    DataLogger(const DataLogger&) = delete;
    DataLogger& operator=(const DataLogger&) = delete;

    // One tick of the one-second timer.
    void Tick();

    std::size_t PendingRecords() const { return pending_.size(); }
    // Records dropped because too many were waiting, since the logger started.
    std::uint64_t DroppedRecords() const { return droppedTotal_; }

  private:
    struct PendingRecord {
        std::string path;
        std::string text;  // the line with its CR LF
    };

    void QueueRecordIfDue();
    void DropOldestBeyondBound();
    void WritePending();
    void ReportFailure(const std::string& error);
    void ReportRecovery();
    void Show(const platform::Message& message);

    AcquisitionState& state_;
    const platform::Clock& clock_;
    platform::Dialogs& dialogs_;
    std::unique_ptr<LogFileSink> ownSink_;
    LogFileSink& sink_;
    std::size_t maxPending_;

    std::deque<PendingRecord> pending_;
    bool failing_ = false;
    bool dropReported_ = false;
    std::uint64_t droppedInEpisode_ = 0;
    std::uint64_t droppedTotal_ = 0;
    std::string lastFailurePath_;
    // Shared with the open message box's close callback, which may run after the
    // logger is gone.
    std::shared_ptr<bool> messageOpen_ = std::make_shared<bool>(false);
};

}  // namespace vantrel
