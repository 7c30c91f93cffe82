#pragma once

// How a run that no one watches keeps its log: split files, how often records are
// forced onto the disk, resuming after a restart, and when a filling disk is worth a
// warning. The words and numbers come from the [logging] part of vantrel.ini; the
// readers below turn each one into the value used, so the ini layer only looks the
// keys up.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/IniValues.h"

namespace vantrel {

enum class LogSplit { None, Daily, Size };
enum class LogSync { Record, Interval, None };

struct LoggingPreferences {
    LogSplit split = LogSplit::None;
    // A file of ten megabytes still opens at once in a spreadsheet.
    std::int64_t splitSizeKb = 10240;
    // A power cut loses nothing that the last tick wrote.
    LogSync sync = LogSync::Record;
    std::int64_t syncIntervalS = 60;
    bool resume = false;
    bool operator==(const LoggingPreferences&) const = default;
    // Warn while a day of one-second records still fits many times over.
    std::int64_t lowSpaceMb = 200;
};

// The value used for one key, and for a value that cannot be used the note
// "split: found 'weekly', using 'none'" (the caller names the file and section).
template <typename T>
struct PreferenceValue {
    T value;
    std::optional<std::string> note;
};

inline constexpr std::string_view kSplitKey = "split";
inline constexpr std::string_view kSplitSizeKbKey = "split_size_kb";
inline constexpr std::string_view kSyncKey = "sync";
inline constexpr std::string_view kSyncIntervalSKey = "sync_interval_s";
inline constexpr std::string_view kResumeKey = "resume";
inline constexpr std::string_view kLowSpaceMbKey = "low_space_mb";

// Words are read without regard to case or surrounding blanks. A word that is not
// known gives the default; a number outside its range gives the nearest bound, and
// anything that is no whole number the default.
PreferenceValue<LogSplit> ReadSplit(std::string_view found);              // none, daily, size
PreferenceValue<std::int64_t> ReadSplitSizeKb(std::string_view found);    // 1 .. 1 TiB in KiB
PreferenceValue<LogSync> ReadSync(std::string_view found);                // record, interval, none
PreferenceValue<std::int64_t> ReadSyncIntervalS(std::string_view found);  // 1 .. 86400
PreferenceValue<bool> ReadResume(std::string_view found);  // true/false, yes/no, on/off, 1/0
PreferenceValue<std::int64_t> ReadLowSpaceMb(std::string_view found);  // 0 (never) .. 1 PiB in MiB

// The word written for a value, as the readers take it back.
std::string_view SplitWord(LogSplit split);
std::string_view SyncWord(LogSync sync);

inline constexpr std::string_view kLoggingSection = "logging";

// Every key at once: lookup gives a key's text, or nothing when the key is absent
// (its default stands). A value that could not be used adds a problem, in key
// order.
// The words and numbers written for the preferences, as the readers take them back.
ini::SectionTexts LoggingPreferencesTexts(const LoggingPreferences& preferences);

LoggingPreferences ReadLoggingPreferences(
    const std::function<std::optional<std::string>(std::string_view key)>& lookup,
    std::vector<ini::Problem>& problems);

}  // namespace vantrel
