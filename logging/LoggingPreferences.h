#pragma once

// How a run that no one watches keeps its log: split files, how often records are
// forced onto the disk, resuming after a restart, and when a filling disk is worth a
// warning. The [logging] part of vantrel.ini; its keys, defaults and ranges are
// rows of settings/IniKeys.h.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/IniKeys.h"
#include "settings/IniValues.h"

namespace vantrel {

// In the order of ini::kSplitWords, kSyncWords, kStatisticsWords, kDecimalWords and
// kSeparatorWords.
enum class LogSplit { None, Daily, Size };
enum class LogSync { Record, Interval, None };
enum class LogStatistics { Last, Mean, MinMaxMean };
enum class LogDecimal { Point, Comma };
enum class LogSeparator { SaveOptions, Comma, Semicolon, Tab, Space, FourSpaces };

struct LoggingPreferences {
    LogSplit split = ini::DefaultOf<LogSplit>(ini::kLoggingSection, "split");
    std::int64_t splitSizeKb = ini::DefaultOf<std::int64_t>(ini::kLoggingSection, "split_size_kb");
    LogSync sync = ini::DefaultOf<LogSync>(ini::kLoggingSection, "sync");
    std::int64_t syncIntervalS =
        ini::DefaultOf<std::int64_t>(ini::kLoggingSection, "sync_interval_s");
    bool resume = ini::DefaultOf<bool>(ini::kLoggingSection, "resume");
    std::int64_t lowSpaceMb = ini::DefaultOf<std::int64_t>(ini::kLoggingSection, "low_space_mb");
    LogStatistics statistics = ini::DefaultOf<LogStatistics>(ini::kLoggingSection, "statistics");
    LogDecimal decimal = ini::DefaultOf<LogDecimal>(ini::kLoggingSection, "decimal");
    LogSeparator separator = ini::DefaultOf<LogSeparator>(ini::kLoggingSection, "separator");
    bool headerUnits = ini::DefaultOf<bool>(ini::kLoggingSection, "header_units");
    bool operator==(const LoggingPreferences&) const = default;
};

// Missing keys keep their defaults; a value that cannot be used, and an unknown
// key, is noted in problems. A decimal comma is kept only beside a separator chosen
// here that is not a comma (the File > Save choice may be one): otherwise the
// decimal point is used and the refusal noted.
LoggingPreferences ReadLoggingPreferences(const ini::FileTexts& file,
                                          std::vector<ini::Problem>& problems);
// Why the window cannot take the choices: a decimal comma beside a comma separator
// or File > Save's, which may be one. Nothing when they go together.
std::optional<std::string> LoggingPreferencesProblem(const LoggingPreferences& preferences);
// The section as the file keeps it.
ini::SectionTexts LoggingPreferencesTexts(const LoggingPreferences& preferences);

}  // namespace vantrel
