#include "logging/DataLogger.h"

#include <utility>

#include "engine/TextStyles.h"
#include "logging/LogRecord.h"

namespace vantrel {

namespace {
// Records written with one opening of the file while catching up.
constexpr std::size_t kRecordsPerWrite = 4096;
constexpr const char* kSaveErrorTitle = "Save Error";
}  // namespace

DataLogger::DataLogger(AcquisitionState& state, const platform::Clock& clock,
                       platform::Dialogs& dialogs)
    : state_(state),
      clock_(clock),
      dialogs_(dialogs),
      ownSink_(std::make_unique<DiskLogFileSink>()),
      sink_(*ownSink_),
      maxPending_(kDefaultMaxPending) {}

DataLogger::DataLogger(AcquisitionState& state, const platform::Clock& clock,
                       platform::Dialogs& dialogs, LogFileSink& sink, std::size_t maxPending)
    : state_(state),
      clock_(clock),
      dialogs_(dialogs),
      sink_(sink),
      maxPending_(maxPending == 0 ? 1 : maxPending) {}

DataLogger::~DataLogger() {
    // No message boxes here: the program is closing.
    while (!pending_.empty() && !sink_.append(pending_.front().path, pending_.front().text)) {
        pending_.pop_front();
    }
}

void DataLogger::Tick() {
    QueueRecordIfDue();
    if (!pending_.empty()) {
        WritePending();
    }
    // Bounded only after the write attempt, so the tick on which the file comes
    // back loses nothing.
    DropOldestBeyondBound();
}

void DataLogger::QueueRecordIfDue() {
    if (!state_.CardConnected1 || !state_.Saving) {
        return;
    }
    ++state_.LogTickCount;
    if (state_.LogTickCount != state_.LogIntervalTicks) {
        return;
    }
    state_.LogTickCount = 0;
    // The task manager can clear every mark while logging runs; an empty line
    // would only break the columns.
    if (!AnyChannelMarked(state_)) {
        return;
    }
    if (state_.LogStampStyle == 1) {
        ++state_.LogSampleNo;
    }
    // One reading of the clock, so that a record written across midnight does not
    // pair the old date with the new time.
    std::string text = RecordStamp(state_.LogStampStyle, clock_.now(), state_.LogSampleNo);
    text += RecordValues(state_);
    text += kLineEnd;
    pending_.push_back({state_.LogFileName, std::move(text)});
}

void DataLogger::DropOldestBeyondBound() {
    while (pending_.size() > maxPending_) {
        pending_.pop_front();
        ++droppedInEpisode_;
        ++droppedTotal_;
        if (!dropReported_) {
            dropReported_ = true;
            Show(
                {"The log file has not accepted records for a long time; the oldest waiting "
                 "records are being dropped. The number lost is reported once the file "
                 "can be written again.",
                 kSaveErrorTitle, platform::MessageIcon::Warning});
        }
    }
}

void DataLogger::WritePending() {
    while (!pending_.empty()) {
        // Consecutive records for the same file go in one opening of it.
        const std::string& path = pending_.front().path;
        std::string batch;
        std::size_t count = 0;
        while (count < pending_.size() && count < kRecordsPerWrite &&
               pending_[count].path == path) {
            batch += pending_[count].text;
            ++count;
        }
        if (const std::optional<std::string> error = sink_.append(path, batch)) {
            lastFailurePath_ = path;
            ReportFailure(*error);
            return;
        }
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
    }
    if (failing_) {
        ReportRecovery();
    }
}

void DataLogger::ReportFailure(const std::string& error) {
    state_.SaveError = true;
    if (failing_) {
        return;
    }
    failing_ = true;
    // A file that fails on and off does not stack up notices the user has not
    // closed yet.
    if (*messageOpen_) {
        return;
    }
    Show({"Log records cannot be written (" + error +
              "). They are kept and will be written as soon as the file can be opened again.",
          kSaveErrorTitle, platform::MessageIcon::Warning});
}

void DataLogger::ReportRecovery() {
    state_.SaveError = false;
    failing_ = false;
    if (droppedInEpisode_ > 0) {
        Show({std::to_string(droppedInEpisode_) + " log records could not be written to " +
                  lastFailurePath_ + " in time and were dropped.",
              kSaveErrorTitle, platform::MessageIcon::Warning});
    }
    droppedInEpisode_ = 0;
    dropReported_ = false;
}

void DataLogger::Show(const platform::Message& message) {
    *messageOpen_ = true;
    std::shared_ptr<bool> open = messageOpen_;
    dialogs_.showMessageNonBlocking(message, [open] { *open = false; });
}

}  // namespace vantrel
