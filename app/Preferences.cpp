#include "app/Preferences.h"

namespace vantrel {

Preferences ReadPreferences(const ini::FileTexts& file, const std::string& hostName,
                            std::vector<ini::Problem>& problems) {
    Preferences preferences;
    preferences.mqtt =
        publish::ReadMqttSettings(file, publish::StationFromHostName(hostName), problems);
    const auto section = file.find(std::string(kLoggingSection));
    preferences.logging = ReadLoggingPreferences(
        [&](std::string_view key) -> std::optional<std::string> {
            if (section == file.end()) {
                return std::nullopt;
            }
            const auto found = section->second.find(std::string(key));
            return found == section->second.end() ? std::nullopt : std::optional(found->second);
        },
        problems);
    const ini::FileTexts known = PreferencesTexts(Preferences{});
    if (section != file.end()) {
        const ini::SectionTexts& keys = known.at(std::string(kLoggingSection));
        std::vector<std::string> names;
        for (const auto& [key, text] : keys) {
            names.push_back(key);
        }
        ini::NoteUnknownKeys(kLoggingSection, section->second, names, problems);
    }
    ini::NoteUnknownSections(file, known, problems);
    return preferences;
}

ini::FileTexts PreferencesTexts(const Preferences& preferences) {
    return {{publish::kMqttSection, publish::MqttSettingsTexts(preferences.mqtt)},
            {std::string(kLoggingSection), LoggingPreferencesTexts(preferences.logging)}};
}

}  // namespace vantrel
