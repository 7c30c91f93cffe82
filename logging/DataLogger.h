#pragma once

// Appends a record of the channels marked for saving to the log file once per
// logging interval. Driven by the main window's one-second timer; the interval is
// a count of these ticks, counted only while records are being written
// (RecordsAreBeingWritten).
//
// A record that cannot be written (missing folder, file locked, disk full) is not
// lost: it waits in memory with the other records for its file, in order, and goes
// to the file at the first tick on which the file can be written again. Each file
// waits on its own, so switching to a good file in File > Save sends the new
// records there at once. SaveError is set while the current log file fails, and
// the user is told once per failure. The wait is bounded per file; beyond the
// bound the oldest records are dropped and their number reported. Waiting records
// are kept in a journal in the start folder too (LogJournal), so that a run that
// ends without Close leaves them for the next start (RecoverJournal). At exit,
// what still cannot reach its file goes to a recovery file in the start folder.
//
// The preferences split the log into dated files (a new one each day, or before
// a record would take the file past a size), choose how often records are forced
// onto the disk, and when a filling disk is worth a warning. A daily split counts
// the day of the file's first record, so a resume on a later day starts a new file
// at once.
//
// While logging, the run's events go to an events file beside the log file
// (EventLine.h), through the same sink, waiting, journal and sync as the records,
// so an event is no easier to lose than a record.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "alarms/RunEvent.h"
#include "engine/AcquisitionState.h"
#include "engine/CardFrames.h"
#include "logging/LogFilePlace.h"
#include "logging/LogFileSink.h"
#include "logging/LogJournal.h"
#include "logging/LogRecord.h"
#include "logging/LoggingPreferences.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"

namespace vantrel {

class DataLogger {
  public:
    // A day of one-second records per file.
    static constexpr std::size_t kDefaultMaxPending = 86400;

    // Writes to real files.
    DataLogger(AcquisitionState& state, const platform::Clock& clock, platform::Dialogs& dialogs);
    // Writes through sink, which must outlive the logger.
    DataLogger(AcquisitionState& state, const platform::Clock& clock, platform::Dialogs& dialogs,
               LogFileSink& sink, std::size_t maxPending = kDefaultMaxPending);
    // Saves what still waits as Close does, without telling anyone.
    ~DataLogger();

    DataLogger(const DataLogger&) = delete;
    DataLogger& operator=(const DataLogger&) = delete;

    // Effective from the next record.
    void setPreferences(const LoggingPreferences& preferences) { preferences_ = preferences; }
    const LoggingPreferences& preferences() const { return preferences_; }

    // A card's analog frame as the user reads it: its scaled values and derived
    // channels go into the next records. A channel the frame could not convert
    // keeps its last value, as the record always has; a derived channel holds the
    // latest frame's value or none. The interval's figures (mean, minimum,
    // maximum) count only the frames that gave the channel a value.
    void TakeFrame(const ConvertedFrame& frame);
    // An event while logging, for the events file beside logFile, which starts
    // with its header. Written at once, not at the tick, so an alarm just before a
    // crash is already in the file; one the file does not take waits as records do
    // and goes at the first tick the file takes it.
    void TakeEvent(const std::string& logFile, const alarms::RunEvent& event);
    // One tick of the one-second timer.
    void Tick();
    // At exit: one last attempt per file; records that still cannot reach their
    // file go to a recovery file in the start folder, and the user is told how
    // many and where, or how many were lost when even that fails.
    void Close();
    // At start-up: records a run left in the journal go to a recovery file in the
    // start folder. The message naming the count and the file, or nothing when no
    // journal was left. Records that cannot be saved so wait with this run's.
    // Events go back into their events file, or when it does not take them, to a
    // recovery file as records do.
    std::optional<platform::Message> RecoverJournal();

    // Told of a dated file about to start, before it is made and before its first
    // record goes in, so that what a restart reads can name it first. A restart
    // then finds the file, made or not, and the serial number to go on from.
    using FileStartHandler = std::function<void(const LogFilePlace& next)>;
    void setFileStartHandler(FileStartHandler handler) { fileStart_ = std::move(handler); }
    // The file records go to now.
    LogFilePlace FileInUse() const;
    // Logging taken up again in place.path (the state's LogFileInUse): its day, when
    // known, counts for the daily split from the first record on.
    void Resume(const LogFilePlace& place);

    // Records and events waiting for their files.
    std::size_t PendingRecords() const;
    // Records dropped because too many were waiting, since the logger started.
    std::uint64_t DroppedRecords() const { return droppedTotal_; }

  private:
    // The records waiting for one file, oldest first.
    struct FileQueue {
        std::deque<std::string> records;  // each line with its CR LF
        bool events = false;              // the lines are events, for an events file
        bool failing = false;
        bool dropReported = false;
        std::uint64_t dropped = 0;    // since the file last took records
        std::size_t unjournaled = 0;  // the newest records not yet in the journal
    };

    void QueueRecordIfDue();
    // The file the record stamped when goes to, switching to a new dated file when
    // the split preference says it is time.
    const std::string& FileForRecord(const platform::DateTime& when, std::size_t recordBytes,
                                     std::int32_t serialBefore);
    // What the file will hold once its waiting records are written.
    std::uintmax_t BytesBound(const std::string& path);
    void StartNextFile(const platform::DateTime& when, std::int32_t serialBefore);
    void SyncIfDue();
    void WatchFreeSpace();
    void DropOldestBeyondBound(const std::string& path, FileQueue& queue);
    // Writes the file's waiting records; what failed, or nothing.
    std::optional<std::string> Drain(const std::string& path, FileQueue& queue);
    // Drains the queue and tells of a failure or of what was dropped; whether the
    // queue is empty now.
    bool WriteQueue(const std::string& path, FileQueue& queue);
    void WritePending();
    // Brings the journal in line with what waits now.
    void UpdateJournal();
    LogJournal Journal() const;
    void ReportFailure(const std::string& error, FileQueue& queue);
    void ReportRecovery(const std::string& path, const FileQueue& queue);
    // Writes every waiting record somewhere lasting; the messages for the user.
    std::vector<platform::Message> SaveWaitingRecords();
    void Show(const platform::Message& message);

    AcquisitionState& state_;
    const platform::Clock& clock_;
    platform::Dialogs& dialogs_;
    std::unique_ptr<LogFileSink> ownSink_;
    LogFileSink& sink_;
    std::size_t maxPending_;
    LoggingPreferences preferences_;
    LatestValues latest_{};
    // Since the last record, or since records began to be written.
    IntervalFigures figures_{};
    DerivedRecord derived_{};

    // Only files with waiting records have an entry.
    std::map<std::string, FileQueue> pending_;
    std::uint64_t droppedTotal_ = 0;
    // Records in the journal, and whether some of them have since been written.
    std::size_t journalRecords_ = 0;
    bool journalStale_ = false;
    // The log file whose records the journal's last part holds.
    std::string journalTarget_;
    // The file in use as far as the logger has written or resumed it.
    LogFilePlace place_;
    FileStartHandler fileStart_;
    bool splitFailureReported_ = false;
    // Files written since they were last handed to the disk, and the ticks since.
    std::set<std::string> unsynced_;
    std::int64_t ticksSinceSync_ = 0;
    // Shared with the open message box's close callback, which may run after the
    // logger is gone.
    std::shared_ptr<bool> messageOpen_ = std::make_shared<bool>(false);
};

}  // namespace vantrel
