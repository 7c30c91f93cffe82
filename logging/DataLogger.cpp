#include "logging/DataLogger.h"

#include <algorithm>
#include <utility>

#include "engine/CardView.h"
#include "logging/DatedFileName.h"
#include "logging/EventLine.h"
#include "logging/LogRecord.h"
#include "logging/RecordsFlow.h"
#include "settings/AppPaths.h"
#include "settings/TextStyles.h"

namespace vantrel {

namespace {
// Records written with one opening of the file while catching up.
constexpr std::size_t kRecordsPerWrite = 4096;
constexpr const char* kRecoveryTag = "-unsaved";

std::string RecordCount(std::uint64_t count) {
    return std::to_string(count) + (count == 1 ? " log record" : " log records");
}

std::string LineCount(std::uint64_t count, bool events) {
    if (events) {
        return std::to_string(count) + (count == 1 ? " event" : " events");
    }
    return RecordCount(count);
}

// A recovery file beside the settings, named after the log file; a name too long
// for the file system, or one that cannot be made, falls back to "vantrel".
DatedFile WriteRecoveryFile(LogFileSink& sink, const std::string& folder,
                            const std::string& logPath, const std::string& text,
                            const platform::DateTime& now, bool events) {
    const auto create = [&](const std::string& target) { return sink.createNew(target, text); };
    const std::string fileName = FileNameOf(logPath);
    DatedFile recovery = CreateUnderDatedName(sink, folder, fileName, kRecoveryTag, now, create);
    if (recovery.error) {
        const std::string fallback =
            "vantrel" +
            (events ? std::string(kEventsFileSuffix) : Utf8Path(NativePath(fileName).extension()));
        recovery = CreateUnderDatedName(sink, folder, fallback, kRecoveryTag, now, create);
    }
    return recovery;
}

platform::Message DroppedNotice(const std::string& path, std::uint64_t dropped, bool events) {
    return {LineCount(dropped, events) + " could not be written to " + path +
                " in time and were dropped.",
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

void DataLogger::TakeFrame(const ConvertedFrame& frame) {
    const bool counted = RecordsAreBeingWritten(state_);
    for (int channel = 0; channel < kChannelsPerCard; ++channel) {
        if (const std::optional<double>& value = frame.scaled[static_cast<std::size_t>(channel)]) {
            const auto slot = static_cast<std::size_t>(ChannelSlot(frame.card, channel));
            // A value as converted goes back to the float it was widened from.
            latest_[slot] = static_cast<float>(*value);
            if (counted) {
                figures_[slot].take(*value);
            }
        }
    }
    derived_.latest = frame.derived;
    for (std::size_t slot = 0; counted && slot < kDerivedSlots; ++slot) {
        if (const std::optional<double>& value = frame.derived[slot]) {
            derived_.figures[slot].take(*value);
        }
    }
}

void DataLogger::TakeEvent(const std::string& logFile, const alarms::RunEvent& event) {
    const std::string path = EventsFilePath(logFile);
    FileQueue& queue = pending_[path];
    queue.events = true;
    queue.records.push_back(EventLine(event));
    ++queue.unjournaled;
    if (WriteQueue(path, queue)) {
        pending_.erase(path);
    }
    UpdateJournal();
}

void DataLogger::Tick() {
    QueueRecordIfDue();
    WritePending();
    UpdateJournal();
    SyncIfDue();
    WatchFreeSpace();
    // Records stuck for an earlier file do not make the current one look broken.
    state_.SaveError = pending_.contains(state_.LogFileInUse);
}

void DataLogger::Close() {
    for (const platform::Message& message : SaveWaitingRecords()) {
        dialogs_.showMessage(message);
    }
    for (const std::string& path : unsynced_) {
        sink_.flushToDisk(path);
    }
    unsynced_.clear();
}

void DataLogger::SyncIfDue() {
    if (preferences_.sync != LogSync::Interval) {
        return;
    }
    ++ticksSinceSync_;
    if (unsynced_.empty() || ticksSinceSync_ < preferences_.syncIntervalS) {
        return;
    }
    for (const std::string& path : unsynced_) {
        sink_.flushToDisk(path);
    }
    unsynced_.clear();
    ticksSinceSync_ = 0;
}

void DataLogger::WatchFreeSpace() {
    if (!state_.Saving || preferences_.lowSpaceMb <= 0) {
        state_.LowDiskSpace = false;
        return;
    }
    const std::optional<std::uintmax_t> free = sink_.freeSpace(state_.LogFileInUse);
    if (!free) {
        return;
    }
    constexpr std::uintmax_t kMegabyte = 1024 * 1024;
    const auto warnBelow = static_cast<std::uintmax_t>(preferences_.lowSpaceMb) * kMegabyte;
    if (!state_.LowDiskSpace && *free < warnBelow) {
        state_.LowDiskSpace = true;
        Show({"Only " + std::to_string(*free / kMegabyte) + " MB are free on the disk of " +
                  state_.LogFileInUse + " (the warning comes below " +
                  std::to_string(preferences_.lowSpaceMb) +
                  " MB). Logging goes on; once the disk is full, records wait until there is room.",
              "Low Disk Space", platform::MessageIcon::Warning});
    } else if (state_.LowDiskSpace && *free >= warnBelow + warnBelow / 10) {
        // A tenth above the level before the episode ends, so a disk hovering at
        // the level does not warn every few seconds.
        state_.LowDiskSpace = false;
    }
}

void DataLogger::QueueRecordIfDue() {
    if (!RecordsAreBeingWritten(state_)) {
        // The first record's figures are of its own interval only.
        figures_ = {};
        derived_.figures = {};
        return;
    }
    ++state_.LogTickCount;
    if (state_.LogTickCount != state_.LogIntervalTicks) {
        return;
    }
    state_.LogTickCount = 0;
    const IntervalFigures figures = std::exchange(figures_, {});
    const DerivedRecord derived = derived_;
    derived_.figures = {};
    // The task manager can clear every mark while logging runs; an empty line
    // would only break the columns.
    if (!AnyChannelMarked(state_)) {
        return;
    }
    const std::int32_t serialBefore = state_.LogSampleNo;
    const StampStyle stampStyle = StampStyleOf(state_.LogStampStyle);
    if (stampStyle == StampStyle::Serial) {
        ++state_.LogSampleNo;
    }
    // One reading of the clock, so that a record written across midnight does not
    // pair the old date with the new time, nor land in the wrong day's file.
    const platform::DateTime now = clock_.now();
    std::string text = StampFields(stampStyle, now, state_.LogSampleNo);
    text += RecordValues(state_, latest_, figures, derived);
    text += kLineEnd;
    FileQueue& queue = pending_[FileForRecord(now, text.size(), serialBefore)];
    queue.records.push_back(std::move(text));
    ++queue.unjournaled;
}

std::uintmax_t DataLogger::BytesBound(const std::string& path) {
    std::uintmax_t bytes = sink_.fileSize(path).value_or(0);
    if (const auto waiting = pending_.find(path); waiting != pending_.end()) {
        for (const std::string& record : waiting->second.records) {
            bytes += record.size();
        }
    }
    return bytes;
}

LogFilePlace DataLogger::FileInUse() const {
    const std::string& path =
        state_.LogFileInUse.empty() ? state_.LogFileName : state_.LogFileInUse;
    if (place_.path == path) {
        return place_;
    }
    return {path, std::nullopt, state_.LogSampleNo};
}

void DataLogger::Resume(const LogFilePlace& place) {
    place_ = place;
}

const std::string& DataLogger::FileForRecord(const platform::DateTime& when,
                                             std::size_t recordBytes, std::int32_t serialBefore) {
    if (state_.LogFileInUse.empty()) {
        state_.LogFileInUse = state_.LogFileName;
    }
    const std::string& path = state_.LogFileInUse;
    const std::chrono::year_month_day day = DayOf(when);
    // Another file chosen in File > Save starts with this record.
    if (place_.path != path) {
        place_ = {path, day, serialBefore};
    }
    // Resumed from a run state that did not know the day.
    place_.day = place_.day.value_or(day);
    if (preferences_.split == LogSplit::None) {
        return path;
    }
    const std::uintmax_t held = BytesBound(path);
    const auto limit = static_cast<std::uintmax_t>(preferences_.splitSizeKb) * 1024;
    const std::size_t headerBytes =
        state_.LogHeaders ? HeaderLine(state_).size() + kLineEnd.size() : 0;
    if (held <= headerBytes) {
        // A file holding no record yet takes the record whatever its size or day, so
        // a record larger than the limit cannot start file after file; the record
        // is its first.
        place_ = {path, day, serialBefore};
        return path;
    }
    const bool due =
        preferences_.split == LogSplit::Daily ? place_.day != day : held + recordBytes > limit;
    if (due) {
        StartNextFile(when, serialBefore);
    }
    return state_.LogFileInUse;
}

void DataLogger::StartNextFile(const platform::DateTime& when, std::int32_t serialBefore) {
    const std::string& chosen = state_.LogFileName;
    const std::string header =
        state_.LogHeaders ? HeaderLine(state_) + std::string(kLineEnd) : std::string();
    const DatedFile next = CreateUnderDatedName(
        sink_, FolderOf(chosen), FileNameOf(chosen), "", when, [&](const std::string& path) {
            // Named for a restart before the file is made: a run killed from here on
            // goes on in it (made afresh when missing, numbered on from
            // serialBefore), one killed before in the old file, which then splits at
            // its next record.
            if (fileStart_) {
                fileStart_({path, DayOf(when), serialBefore});
            }
            return sink_.createNew(path, header);
        });
    if (next.error) {
        // The records go on in the file in use; the next record tries again.
        // Not over a notice still open: a folder that went away has said so already.
        if (!splitFailureReported_ && !*messageOpen_) {
            splitFailureReported_ = true;
            Show({"A new log file could not be started (" + *next.error + "). Records go on in " +
                      state_.LogFileInUse + ".",
                  kSaveErrorTitle, platform::MessageIcon::Warning});
        }
        return;
    }
    splitFailureReported_ = false;
    if (preferences_.sync != LogSync::None) {
        sink_.flushToDisk(next.path);
    }
    state_.LogFileInUse = next.path;
    place_ = {next.path, DayOf(when), serialBefore};
}

std::optional<std::string> DataLogger::Drain(const std::string& path, FileQueue& queue) {
    while (!queue.records.empty()) {
        // An events file starts with its header, also one that was left empty.
        const bool startsEvents = queue.events && !sink_.holdsData(path);
        // Consecutive records go in one opening of the file.
        std::string batch(startsEvents ? kEventsHeader : "");
        std::size_t count = 0;
        while (count < queue.records.size() && count < kRecordsPerWrite) {
            batch += queue.records[count];
            ++count;
        }
        const Flush flush = preferences_.sync == LogSync::Record ? Flush::ToDisk : Flush::No;
        if (std::optional<std::string> error = sink_.append(path, batch, flush)) {
            return error;
        }
        if (startsEvents && preferences_.sync != LogSync::None) {
            // Its entry in the folder, as for a new split file.
            sink_.flushToDisk(path);
        }
        if (preferences_.sync == LogSync::Interval) {
            unsynced_.insert(path);
        }
        // Written records still in the journal are no longer waiting there.
        const std::size_t journaled = queue.records.size() - queue.unjournaled;
        journalStale_ = journalStale_ || journaled > 0;
        queue.unjournaled -= count > journaled ? count - journaled : 0;
        queue.records.erase(queue.records.begin(),
                            queue.records.begin() + static_cast<std::ptrdiff_t>(count));
    }
    return std::nullopt;
}

bool DataLogger::WriteQueue(const std::string& path, FileQueue& queue) {
    if (const std::optional<std::string> error = Drain(path, queue)) {
        ReportFailure(*error, queue);
        // Bounded only after the write attempt, so the tick on which the file comes
        // back loses nothing.
        DropOldestBeyondBound(path, queue);
        return false;
    }
    ReportRecovery(path, queue);
    return true;
}

void DataLogger::WritePending() {
    for (auto entry = pending_.begin(); entry != pending_.end();) {
        entry = WriteQueue(entry->first, entry->second) ? pending_.erase(entry) : std::next(entry);
    }
}

LogJournal DataLogger::Journal() const {
    return LogJournal(AppFilePath(state_, kLogJournalFile));
}

void DataLogger::UpdateJournal() {
    if (state_.AppDir.empty()) {
        return;
    }
    const std::size_t waiting = PendingRecords();
    if (waiting == 0) {
        if (journalRecords_ > 0 || journalStale_) {
            Journal().remove();
        }
        journalTarget_.clear();
        journalRecords_ = 0;
        journalStale_ = false;
        return;
    }
    // Records dropped beyond the bound may linger in the journal for a while; it is
    // rewritten once they make up half of it, not on every tick.
    if (journalStale_ || journalRecords_ > 2 * waiting) {
        std::string text;
        for (const auto& [path, queue] : pending_) {
            text += JournalText(path, queue.records, 0, true, queue.events);
        }
        if (Journal().replace(text)) {
            journalRecords_ = waiting;
            journalStale_ = false;
            journalTarget_ = pending_.rbegin()->first;
            for (auto& [path, queue] : pending_) {
                queue.unjournaled = 0;
            }
        }
        return;
    }
    for (auto& [path, queue] : pending_) {
        if (queue.unjournaled == 0) {
            continue;
        }
        if (!Journal().append(JournalText(path, queue.records,
                                          queue.records.size() - queue.unjournaled,
                                          path != journalTarget_, queue.events))) {
            // Rewritten whole at the next tick, so no half-written part stays.
            journalStale_ = true;
            return;
        }
        journalRecords_ += queue.unjournaled;
        journalTarget_ = path;
        queue.unjournaled = 0;
    }
}

void DataLogger::DropOldestBeyondBound(const std::string& path, FileQueue& queue) {
    while (queue.records.size() > maxPending_) {
        queue.records.pop_front();
        queue.unjournaled = std::min(queue.unjournaled, queue.records.size());
        ++queue.dropped;
        ++droppedTotal_;
        if (!queue.dropReported) {
            queue.dropReported = true;
            const char* lines = queue.events ? "events" : "records";
            Show({std::string(queue.events ? "The events file " : "The log file ") + path +
                      " has not accepted " + lines + " for a long time; the oldest waiting " +
                      lines +
                      " are being dropped. The number lost is reported once the file can be "
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
    Show({(queue.events ? "Events cannot be written (" : "Log records cannot be written (") +
              error +
              "). They are kept and will be written as soon as the file can be opened again.",
          kSaveErrorTitle, platform::MessageIcon::Warning});
}

void DataLogger::ReportRecovery(const std::string& path, const FileQueue& queue) {
    if (queue.dropped > 0) {
        Show(DroppedNotice(path, queue.dropped, queue.events));
    }
}

std::vector<platform::Message> DataLogger::SaveWaitingRecords() {
    std::vector<platform::Message> messages;
    const platform::DateTime now = clock_.now();
    // Records whose recovery file fails keep waiting, in the journal too, for the
    // next start.
    std::map<std::string, FileQueue> unsaved;
    for (auto& [path, queue] : pending_) {
        if (!Drain(path, queue)) {
            if (queue.dropped > 0) {
                messages.push_back(DroppedNotice(path, queue.dropped, queue.events));
            }
            continue;
        }
        std::string text;
        for (const std::string& record : queue.records) {
            text += record;
        }
        const DatedFile recovery =
            WriteRecoveryFile(sink_, state_.AppDir, path, text, now, queue.events);
        platform::Message message{LineCount(queue.records.size(), queue.events) +
                                      " could not be written to " + path + ".",
                                  kSaveErrorTitle, platform::MessageIcon::Warning};
        if (recovery.error) {
            message.text +=
                " The recovery file could not be written either (" + *recovery.error + ").";
            message.icon = platform::MessageIcon::Critical;
            FileQueue& left = unsaved[path];
            left.records = std::move(queue.records);
            left.events = queue.events;
        } else {
            message.text += " They were saved in " + recovery.path + ".";
        }
        if (queue.dropped > 0) {
            message.text += " Another " + LineCount(queue.dropped, queue.events) +
                            " had already been dropped because too many were waiting.";
        }
        messages.push_back(std::move(message));
    }
    pending_ = std::move(unsaved);
    journalStale_ = true;
    UpdateJournal();
    // What the journal could not take either is lost; say so where it was told.
    const std::string lost =
        PendingRecords() > 0 && journalStale_
            ? " They are lost."
            : " They are kept in " + Journal().path() + " and saved at the next start.";
    for (platform::Message& message : messages) {
        if (message.icon == platform::MessageIcon::Critical) {
            message.text += lost;
        }
    }
    // Whatever the journal holds now is left for the next start.
    pending_.clear();
    journalTarget_.clear();
    journalRecords_ = 0;
    journalStale_ = false;
    return messages;
}

std::optional<platform::Message> DataLogger::RecoverJournal() {
    std::string text;
    if (state_.AppDir.empty() || !Journal().read(text)) {
        return std::nullopt;
    }
    const platform::DateTime now = clock_.now();
    // Records first, then events.
    struct Recovered {
        std::uint64_t saved = 0;
        std::uint64_t kept = 0;
        std::string savedIn;
        std::string error;
    };
    Recovered recovered[2];
    std::uint64_t kept = 0;
    for (JournalFile& file : ParseJournal(text)) {
        if (file.events) {
            // Back where they belong, after the events the file holds already.
            FileQueue back;
            back.events = true;
            back.records.assign(file.records.begin(), file.records.end());
            if (!Drain(file.target, back)) {
                continue;
            }
        }
        std::string lines;
        for (const std::string& record : file.records) {
            lines += record;
        }
        Recovered& tally = recovered[file.events ? 1 : 0];
        const DatedFile recovery =
            WriteRecoveryFile(sink_, state_.AppDir, file.target, lines, now, file.events);
        if (!recovery.error) {
            tally.saved += file.records.size();
            tally.savedIn += (tally.savedIn.empty() ? "" : ", ") + recovery.path;
            continue;
        }
        // Still not lost: they wait with this run's records, in the journal too.
        tally.error = *recovery.error;
        tally.kept += file.records.size();
        kept += file.records.size();
        FileQueue& queue = pending_[file.target];
        queue.events = file.events;
        queue.records.insert(queue.records.begin(), file.records.begin(), file.records.end());
    }
    journalRecords_ = kept;
    journalStale_ = true;
    UpdateJournal();
    platform::Message message{{}, kSaveErrorTitle, platform::MessageIcon::Warning};
    for (const bool events : {false, true}) {
        const Recovered& tally = recovered[events ? 1 : 0];
        if (tally.saved > 0) {
            message.text += (message.text.empty() ? "" : " ") + LineCount(tally.saved, events) +
                            " left waiting when the program last ended were saved in " +
                            tally.savedIn + ".";
        }
        if (tally.kept > 0) {
            message.text += (message.text.empty() ? "" : " ") + LineCount(tally.kept, events) +
                            " left waiting when the program last ended could not be saved in a "
                            "recovery file (" +
                            tally.error + "); they wait with this run's " +
                            (events ? "events." : "records.");
        }
    }
    if (message.text.empty()) {
        return std::nullopt;
    }
    return message;
}

void DataLogger::Show(const platform::Message& message) {
    *messageOpen_ = true;
    std::shared_ptr<bool> open = messageOpen_;
    dialogs_.showMessageNonBlocking(message, [open] { *open = false; });
}

}  // namespace vantrel
