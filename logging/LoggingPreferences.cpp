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
        Bind(KeyOf(s, "split"), &P::split),   Bind(KeyOf(s, "split_size_kb"), &P::splitSizeKb),
        Bind(KeyOf(s, "sync"), &P::sync),     Bind(KeyOf(s, "sync_interval_s"), &P::syncIntervalS),
        Bind(KeyOf(s, "resume"), &P::resume), Bind(KeyOf(s, "low_space_mb"), &P::lowSpaceMb),
    };
    return fields;
}

}  // namespace

LoggingPreferences ReadLoggingPreferences(const ini::FileTexts& file,
                                          std::vector<ini::Problem>& problems) {
    return ini::ReadFields(LoggingFields(), ini::kLoggingSection, file, LoggingPreferences{},
                           problems);
}

ini::SectionTexts LoggingPreferencesTexts(const LoggingPreferences& preferences) {
    return ini::FieldTexts(LoggingFields(), preferences);
}

}  // namespace vantrel
