#include "logging/DataLogger.h"

#include <utility>

#include "engine/TextStyles.h"
#include "logging/DatedFileName.h"
#include "logging/LogRecord.h"

namespace vantrel {

namespace {
// Records written with one opening of the file while catching up.
constexpr std::size_t kRecordsPerWrite = 4096;
constexpr const char* kRecoveryTag = "-unsaved";

std::string RecordCount(std::uint64_t count) {
    return std::to_string(count) + (count == 1 ? " log record" : " log records");
}

platform::Message DroppedNotice(const std::string& path, std::uint64_t dropped) {
    return {
        RecordCount(dropped) + " could not be written to " + path + " in time and were dropped.",
        kSaveErrorTitle, platform::MessageIcon::Warning};
}
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
    SaveWaitingRecords();
}

std::size_t DataLogger::PendingRecords() const {
    std::size_t count = 0;
    for (const auto& [path, queue] : pending_) {
        count += queue.records.size();
    }
    return count;
}

void DataLogger::Tick() {
    QueueRecordIfDue();
    WritePending();
    // Records stuck for an earlier file do not make the current one look broken.
    state_.SaveError = pending_.contains(state_.LogFileName);
}

void DataLogger::Close() {
    for (const platform::Message& message : SaveWaitingRecords()) {
        dialogs_.showMessage(message);
    }
}

void DataLogger::QueueRecordIfDue() {
    // While card 1's port is lost its values are the last ones before the loss;
    // writing them again would pass copies off as measurements.
    if (!state_.CardConnected1 || state_.PortLost1 || !state_.Saving) {
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
    pending_[state_.LogFileName].records.push_back(std::move(text));
}

std::optional<std::string> DataLogger::Drain(const std::string& path, FileQueue& queue) {
    while (!queue.records.empty()) {
        // Consecutive records go in one opening of the file.
        std::string batch;
        std::size_t count = 0;
        while (count < queue.records.size() && count < kRecordsPerWrite) {
            batch += queue.records[count];
            ++count;
        }
        if (std::optional<std::string> error = sink_.append(path, batch)) {
            return error;
        }
        queue.records.erase(queue.records.begin(),
                            queue.records.begin() + static_cast<std::ptrdiff_t>(count));
    }
    return std::nullopt;
}

void DataLogger::WritePending() {
    for (auto entry = pending_.begin(); entry != pending_.end();) {
        auto& [path, queue] = *entry;
        if (const std::optional<std::string> error = Drain(path, queue)) {
            ReportFailure(*error, queue);
            // Bounded only after the write attempt, so the tick on which the file
            // comes back loses nothing.
            DropOldestBeyondBound(path, queue);
            ++entry;
            continue;
        }
        ReportRecovery(path, queue);
        entry = pending_.erase(entry);
    }
}

void DataLogger::DropOldestBeyondBound(const std::string& path, FileQueue& queue) {
    while (queue.records.size() > maxPending_) {
        queue.records.pop_front();
        ++queue.dropped;
        ++droppedTotal_;
        if (!queue.dropReported) {
            queue.dropReported = true;
            Show({"The log file " + path +
                      " has not accepted records for a long time; the oldest waiting records "
                      "are being dropped. The number lost is reported once the file can be "
                      "written again.",
                  kSaveErrorTitle, platform::MessageIcon::Warning});
        }
    }
}

void DataLogger::ReportFailure(const std::string& error, FileQueue& queue) {
    if (queue.failing) {
        return;
    }
    queue.failing = true;
    // A file that fails on and off does not stack up notices the user has not
    // closed yet.
    if (*messageOpen_) {
        return;
    }
    Show({"Log records cannot be written (" + error +
              "). They are kept and will be written as soon as the file can be opened again.",
          kSaveErrorTitle, platform::MessageIcon::Warning});
}

void DataLogger::ReportRecovery(const std::string& path, const FileQueue& queue) {
    if (queue.dropped > 0) {
        Show(DroppedNotice(path, queue.dropped));
    }
}

std::vector<platform::Message> DataLogger::SaveWaitingRecords() {
    std::vector<platform::Message> messages;
    const platform::DateTime now = clock_.now();
    for (auto& [path, queue] : pending_) {
        if (!Drain(path, queue)) {
            if (queue.dropped > 0) {
                messages.push_back(DroppedNotice(path, queue.dropped));
            }
            continue;
        }
        std::string text;
        for (const std::string& record : queue.records) {
            text += record;
        }
        const DatedFile recovery = CreateUnderDatedName(
            sink_, state_.AppDir, FileNameOf(path), kRecoveryTag, now,
            [&](const std::string& target) { return sink_.createNew(target, text); });
        platform::Message message{
            RecordCount(queue.records.size()) + " could not be written to " + path + ".",
            kSaveErrorTitle, platform::MessageIcon::Warning};
        if (recovery.error) {
            message.text += " They are lost: the recovery file could not be written either (" +
                            *recovery.error + ").";
            message.icon = platform::MessageIcon::Critical;
        } else {
            message.text += " They were saved in " + recovery.path + ".";
        }
        if (queue.dropped > 0) {
            message.text += " Another " + RecordCount(queue.dropped) +
                            " had already been dropped because too many were waiting.";
        }
        messages.push_back(std::move(message));
    }
    pending_.clear();
    return messages;
}

void DataLogger::Show(const platform::Message& message) {
    *messageOpen_ = true;
    std::shared_ptr<bool> open = messageOpen_;
    dialogs_.showMessageNonBlocking(message, [open] { *open = false; });
}

}  // namespace vantrel
