#include "logging/LoggingPreferences.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <utility>

namespace vantrel {

namespace {

constexpr std::int64_t kMaxSplitSizeKb = std::int64_t{1} << 30;
constexpr std::int64_t kMaxSyncIntervalS = 86400;
constexpr std::int64_t kMaxLowSpaceMb = std::int64_t{1} << 30;

std::string Trimmed(std::string_view text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::string Lowered(std::string_view text) {
    std::string lowered = Trimmed(text);
    std::ranges::transform(lowered, lowered.begin(),
                           [](char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

std::string Note(std::string_view key, std::string_view found, std::string_view used) {
    return std::string(key) + ": found '" + std::string(found) + "', using '" + std::string(used) +
           "'";
}

template <typename T, std::size_t N>
PreferenceValue<T> ReadWord(std::string_view key, std::string_view found,
                            const std::array<std::pair<std::string_view, T>, N>& words, T fallback,
                            std::string_view fallbackWord) {
    const std::string word = Lowered(found);
    for (const auto& [name, value] : words) {
        if (word == name) {
            return {value, std::nullopt};
        }
    }
    return {fallback, Note(key, found, fallbackWord)};
}

PreferenceValue<std::int64_t> ReadWhole(std::string_view key, std::string_view found,
                                        std::int64_t fallback, std::int64_t low,
                                        std::int64_t high) {
    const std::string text = Trimmed(found);
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const bool plus = text.starts_with('+');
    const auto [stop, error] = std::from_chars(text.data() + (plus ? 1 : 0), end, value);
    if (text.empty() || stop != end || error == std::errc::invalid_argument ||
        (plus && text.size() > 1 && text[1] == '-')) {
        return {fallback, Note(key, found, std::to_string(fallback))};
    }
    // Too many digits for the type is far out of range all the same.
    if (error == std::errc::result_out_of_range) {
        value = text.starts_with('-') ? low : high;
    }
    const std::int64_t used = std::clamp(value, low, high);
    if (used != value || error == std::errc::result_out_of_range) {
        return {used, Note(key, found, std::to_string(used))};
    }
    return {value, std::nullopt};
}

}  // namespace

std::string_view SplitWord(LogSplit split) {
    switch (split) {
        case LogSplit::Daily:
            return "daily";
        case LogSplit::Size:
            return "size";
        default:
            return "none";
    }
}

std::string_view SyncWord(LogSync sync) {
    switch (sync) {
        case LogSync::Interval:
            return "interval";
        case LogSync::None:
            return "none";
        default:
            return "record";
    }
}

PreferenceValue<LogSplit> ReadSplit(std::string_view found) {
    constexpr std::array<std::pair<std::string_view, LogSplit>, 3> kWords = {
        {{"none", LogSplit::None}, {"daily", LogSplit::Daily}, {"size", LogSplit::Size}}};
    const LogSplit fallback = LoggingPreferences{}.split;
    return ReadWord(kSplitKey, found, kWords, fallback, SplitWord(fallback));
}

PreferenceValue<std::int64_t> ReadSplitSizeKb(std::string_view found) {
    return ReadWhole(kSplitSizeKbKey, found, LoggingPreferences{}.splitSizeKb, 1, kMaxSplitSizeKb);
}

PreferenceValue<LogSync> ReadSync(std::string_view found) {
    constexpr std::array<std::pair<std::string_view, LogSync>, 3> kWords = {
        {{"record", LogSync::Record}, {"interval", LogSync::Interval}, {"none", LogSync::None}}};
    const LogSync fallback = LoggingPreferences{}.sync;
    return ReadWord(kSyncKey, found, kWords, fallback, SyncWord(fallback));
}

PreferenceValue<std::int64_t> ReadSyncIntervalS(std::string_view found) {
    return ReadWhole(kSyncIntervalSKey, found, LoggingPreferences{}.syncIntervalS, 1,
                     kMaxSyncIntervalS);
}

PreferenceValue<bool> ReadResume(std::string_view found) {
    constexpr std::array<std::pair<std::string_view, bool>, 8> kWords = {{{"true", true},
                                                                          {"false", false},
                                                                          {"yes", true},
                                                                          {"no", false},
                                                                          {"on", true},
                                                                          {"off", false},
                                                                          {"1", true},
                                                                          {"0", false}}};
    const bool fallback = LoggingPreferences{}.resume;
    return ReadWord(kResumeKey, found, kWords, fallback, fallback ? "true" : "false");
}

PreferenceValue<std::int64_t> ReadLowSpaceMb(std::string_view found) {
    return ReadWhole(kLowSpaceMbKey, found, LoggingPreferences{}.lowSpaceMb, 0, kMaxLowSpaceMb);
}

namespace {

std::string UsedText(LogSplit split) {
    return std::string(SplitWord(split));
}
std::string UsedText(LogSync sync) {
    return std::string(SyncWord(sync));
}
std::string UsedText(bool value) {
    return value ? "true" : "false";
}
std::string UsedText(std::int64_t value) {
    return std::to_string(value);
}

}  // namespace

ini::SectionTexts LoggingPreferencesTexts(const LoggingPreferences& preferences) {
    return {{std::string(kSplitKey), UsedText(preferences.split)},
            {std::string(kSplitSizeKbKey), UsedText(preferences.splitSizeKb)},
            {std::string(kSyncKey), UsedText(preferences.sync)},
            {std::string(kSyncIntervalSKey), UsedText(preferences.syncIntervalS)},
            {std::string(kResumeKey), UsedText(preferences.resume)},
            {std::string(kLowSpaceMbKey), UsedText(preferences.lowSpaceMb)}};
}

LoggingPreferences ReadLoggingPreferences(
    const std::function<std::optional<std::string>(std::string_view key)>& lookup,
    std::vector<ini::Problem>& problems) {
    LoggingPreferences preferences;
    const auto take = [&](std::string_view key, auto reader, auto& field) {
        if (const std::optional<std::string> found = lookup(key)) {
            auto read = reader(*found);
            field = read.value;
            if (read.note) {
                problems.push_back(
                    {std::string(kLoggingSection), std::string(key), *found, UsedText(field)});
            }
        }
    };
    take(kSplitKey, ReadSplit, preferences.split);
    take(kSplitSizeKbKey, ReadSplitSizeKb, preferences.splitSizeKb);
    take(kSyncKey, ReadSync, preferences.sync);
    take(kSyncIntervalSKey, ReadSyncIntervalS, preferences.syncIntervalS);
    take(kResumeKey, ReadResume, preferences.resume);
    take(kLowSpaceMbKey, ReadLowSpaceMb, preferences.lowSpaceMb);
    return preferences;
}

}  // namespace vantrel
