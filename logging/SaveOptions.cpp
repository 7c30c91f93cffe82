#include "logging/SaveOptions.h"

#include "engine/TextStyles.h"
#include "logging/LogRecord.h"

namespace vantrel {

namespace {

constexpr std::int32_t kSecondsPerMinute = 60;
constexpr std::int32_t kSecondsPerHour = 3600;

std::optional<int> FirstNameWithQuote(const SaveOptionsChoice& choice) {
    for (int n = 0; n < kUsedChannels; ++n) {
        if (choice.channelNames[n].find('"') != std::string::npos) {
            return n;
        }
    }
    return std::nullopt;
}

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

}  // namespace

std::int32_t IntervalTicks(std::int16_t intervalChoice, std::int16_t intervalUnit) {
    switch (intervalUnit) {
        case 1:
            return intervalChoice;
        case 2:
            return intervalChoice * kSecondsPerMinute;
        default:
            return intervalChoice * kSecondsPerHour;
    }
}

std::optional<platform::Message> ApplySaveOptions(AcquisitionState& state,
                                                  const SaveOptionsChoice& choice,
                                                  LogFileSink& sink) {
    if (const std::optional<int> n = FirstNameWithQuote(choice)) {
        return platform::Message{
            "The name of Channel " + std::to_string(*n) + " cannot contain a double quote (\").",
            "Channel Name Error", platform::MessageIcon::Critical};
    }
    StoreChoices(state, choice);

    if (state.LogFileName.empty()) {
        state.Saving = false;
        return platform::Message{"File name cannot be left empty", "File Name Error",
                                 platform::MessageIcon::Critical};
    }
    if (!AnyChannelMarked(state)) {
        return platform::Message{"No channels for saving selected!", "Saving Error",
                                 platform::MessageIcon::Information};
    }
    if (state.LogHeaders) {
        const std::string header = HeaderLine(state) + std::string(kLineEnd);
        if (const std::optional<std::string> error = sink.replace(state.LogFileName, header)) {
            state.Saving = false;
            return platform::Message{
                "The log file cannot be created (" + *error + "). Logging is off.", "Save Error",
                platform::MessageIcon::Critical};
        }
    }

    state.LogIntervalTicks = IntervalTicks(state.LogIntervalChoice, state.LogIntervalUnit);
    state.LogSampleNo = 0;
    // One tick short of a full interval, so the first record comes at the next tick.
    state.LogTickCount = state.LogIntervalTicks - 1;
    state.Saving = true;
    return std::nullopt;
}

}  // namespace vantrel
