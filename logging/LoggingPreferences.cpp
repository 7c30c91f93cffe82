#include "logging/LoggingPreferences.h"

#include "settings/IniFields.h"

namespace vantrel {

namespace {

using Fields = std::vector<ini::Field<LoggingPreferences>>;

const Fields& LoggingFields() {
    using ini::Bind;
    using ini::KeyOf;
    using P = LoggingPreferences;
    constexpr std::string_view s = ini::kLoggingSection;
    static const Fields fields = {
        Bind(KeyOf(s, "split"), &P::split),
        Bind(KeyOf(s, "split_size_kb"), &P::splitSizeKb),
        Bind(KeyOf(s, "sync"), &P::sync),
        Bind(KeyOf(s, "sync_interval_s"), &P::syncIntervalS),
        Bind(KeyOf(s, "resume"), &P::resume),
        Bind(KeyOf(s, "low_space_mb"), &P::lowSpaceMb),
        Bind(KeyOf(s, "statistics"), &P::statistics),
        Bind(KeyOf(s, "decimal"), &P::decimal),
        Bind(KeyOf(s, "separator"), &P::separator),
        Bind(KeyOf(s, "header_units"), &P::headerUnits),
    };
    return fields;
}

// A decimal comma beside a separator that is or may be a comma would split each value.
bool CommaMeetsComma(const LoggingPreferences& preferences) {
    return preferences.decimal == LogDecimal::Comma &&
           (preferences.separator == LogSeparator::SaveOptions ||
            preferences.separator == LogSeparator::Comma);
}

}  // namespace

std::optional<std::string> LoggingPreferencesProblem(const LoggingPreferences& preferences) {
    if (!CommaMeetsComma(preferences)) {
        return std::nullopt;
    }
    return "A decimal comma needs a separator other than a comma: choose semicolon, tab, space "
           "or four spaces.";
}

LoggingPreferences ReadLoggingPreferences(const ini::FileTexts& file,
                                          std::vector<ini::Problem>& problems) {
    LoggingPreferences preferences = ini::ReadFields(LoggingFields(), ini::kLoggingSection, file,
                                                     LoggingPreferences{}, problems);
    if (CommaMeetsComma(preferences)) {
        preferences.decimal = LogDecimal::Point;
        problems.push_back({.section = std::string(ini::kLoggingSection),
                            .key = "decimal",
                            .found = "comma",
                            .used = "point",
                            .why = "a decimal comma needs separator = semicolon, tab, space or "
                                   "four_spaces"});
    }
    return preferences;
}

ini::SectionTexts LoggingPreferencesTexts(const LoggingPreferences& preferences) {
    return ini::FieldTexts(LoggingFields(), preferences);
}

}  // namespace vantrel
