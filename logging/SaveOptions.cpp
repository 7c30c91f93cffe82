#include "logging/SaveOptions.h"

#include "logging/DatedFileName.h"
#include "logging/LogRecord.h"
#include "settings/TextStyles.h"

namespace vantrel {

namespace {

constexpr std::int32_t kSecondsPerMinute = 60;
constexpr std::int32_t kSecondsPerHour = 3600;

bool HasQuote(const std::string& text) {
    return text.find('"') != std::string::npos;
}

std::optional<int> FirstNameWithQuote(const SaveOptionsChoice& choice) {
    for (int n = 0; n < kUsedChannels; ++n) {
        if (HasQuote(choice.channelNames[n])) {
            return n;
        }
    }
    return std::nullopt;
}

// Whether the file holds nothing but a header line, as OK wrote it with the
// earlier choices or writes it with the new ones: emptying it loses no record.
bool HoldsOnlyAHeader(const AcquisitionState& state, const SaveOptionsChoice& earlier,
                      LogFileSink& sink) {
    const std::string& path = state.LogFileName;
    if (sink.holdsExactly(path, HeaderLine(state) + std::string(kLineEnd))) {
        return true;
    }
    AcquisitionState before = state;
    StoreChoices(before, earlier);
    return sink.holdsExactly(path, HeaderLine(before) + std::string(kLineEnd));
}

// Keeps the file's earlier records in a dated copy, then leaves just the header
// line in it. What went wrong, or nothing.
std::optional<std::string> StartWithHeader(const AcquisitionState& state,
                                           const SaveOptionsChoice& earlier, LogFileSink& sink,
                                           const platform::DateTime& now) {
    const std::string& path = state.LogFileName;
    std::string kept;
    if (sink.holdsData(path) && !HoldsOnlyAHeader(state, earlier, sink)) {
        const DatedFile copy = CreateUnderDatedName(
            sink, FolderOf(path), FileNameOf(path), "", now,
            [&](const std::string& target) { return sink.copyToNew(path, target); });
        if (copy.error) {
            return "The records already in " + path +
                   " cannot be kept before the file is emptied for the header (" + *copy.error +
                   ").";
        }
        kept = copy.path;
    }
    if (const std::optional<std::string> error =
            sink.replace(path, HeaderLine(state) + std::string(kLineEnd))) {
        std::string text = "The header line cannot be written to " + path + " (" + *error + ").";
        if (!kept.empty()) {
            text += " Its earlier records are kept in " + kept + ".";
        }
        return text;
    }
    return std::nullopt;
}

}  // namespace

void StoreChoices(AcquisitionState& state, const SaveOptionsChoice& choice) {
    state.LogFileName = choice.fileName;
    for (int n = 0; n < kUsedChannels; ++n) {
        state.ChannelName[n] = choice.channelNames[n];
    }
    state.LogHeaders = choice.headers;
    state.LogDelimiter = choice.delimiter;
    state.LogIntervalUnit = choice.intervalUnit;
    state.LogIntervalChoice = choice.intervalChoice;
    state.LogStampStyle = choice.stampStyle;
}

SaveOptionsChoice StoredChoices(const AcquisitionState& state) {
    SaveOptionsChoice choice;
    choice.fileName = state.LogFileName;
    for (int n = 0; n < kUsedChannels; ++n) {
        choice.channelNames[n] = state.ChannelName[n];
    }
    choice.headers = state.LogHeaders;
    choice.delimiter = state.LogDelimiter;
    choice.intervalUnit = state.LogIntervalUnit;
    choice.intervalChoice = state.LogIntervalChoice;
    choice.stampStyle = state.LogStampStyle;
    return choice;
}

std::int32_t IntervalTicks(std::int16_t intervalChoice, IntervalUnit unit) {
    switch (unit) {
        case IntervalUnit::Seconds:
            return intervalChoice;
        case IntervalUnit::Minutes:
            return intervalChoice * kSecondsPerMinute;
        case IntervalUnit::Hours:
            break;
    }
    return intervalChoice * kSecondsPerHour;
}

std::optional<platform::Message> ApplySaveOptions(AcquisitionState& state,
                                                  const SaveOptionsChoice& choice,
                                                  LogFileSink& sink,
                                                  const platform::DateTime& now) {
    if (const std::optional<int> n = FirstNameWithQuote(choice)) {
        return platform::Message{
            "The name of Channel " + std::to_string(*n) + " cannot contain a double quote (\").",
            "Channel Name Error", platform::MessageIcon::Critical};
    }
    if (HasQuote(choice.fileName)) {
        return platform::Message{"The file name cannot contain a double quote (\").",
                                 "File Name Error", platform::MessageIcon::Critical};
    }
    // A folder cannot take records, and a FIFO or a device would swallow them or
    // hold the program up.
    if (!choice.fileName.empty() && sink.isSpecialFile(choice.fileName)) {
        return platform::Message{choice.fileName + " is not a regular file.", "File Name Error",
                                 platform::MessageIcon::Critical};
    }
    const SaveOptionsChoice previous = StoredChoices(state);
    const std::string previousInUse = state.LogFileInUse;
    StoreChoices(state, choice);
    // Another file chosen applies at once, even when logging goes on as it was; the
    // same name keeps a split log in the dated file it has reached.
    if (state.LogFileName != previous.fileName) {
        state.LogFileInUse = state.LogFileName;
    }

    if (state.LogFileName.empty()) {
        state.Saving = false;
        return platform::Message{"File name cannot be left empty", "File Name Error",
                                 platform::MessageIcon::Critical};
    }
    if (!AnyChannelMarked(state)) {
        // The channels to log are marked in another window; say which.
        return platform::Message{
            "No channels for saving selected!\nMark them with Save in Task > Task Manager.",
            "Saving Error", platform::MessageIcon::Information};
    }
    if (state.LogHeaders) {
        if (std::optional<std::string> problem = StartWithHeader(state, previous, sink, now)) {
            // A failed restart must not turn a running log to another file or
            // other columns, nor stop it.
            StoreChoices(state, previous);
            state.LogFileInUse = previousInUse;
            *problem += state.Saving ? " Logging goes on as before." : " Logging is off.";
            return platform::Message{*problem, kSaveErrorTitle, platform::MessageIcon::Critical};
        }
    }

    state.LogIntervalTicks =
        IntervalTicks(state.LogIntervalChoice, IntervalUnitOf(state.LogIntervalUnit));
    state.LogSampleNo = 0;
    // One tick short of a full interval, so the first record comes at the next tick.
    state.LogTickCount = state.LogIntervalTicks - 1;
    state.LogFileInUse = state.LogFileName;
    state.LogResumed = false;
    state.Saving = true;
    return std::nullopt;
}

}  // namespace vantrel
