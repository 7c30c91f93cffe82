#include "app/Preferences.h"

namespace vantrel {

Preferences ReadPreferences(const ini::FileTexts& file, const std::string& hostName,
                            std::vector<ini::Problem>& problems) {
    Preferences preferences;
    preferences.mqtt =
        publish::ReadMqttSettings(file, publish::StationFromHostName(hostName), problems);
    return preferences;
}

ini::FileTexts PreferencesTexts(const Preferences& preferences) {
    return {{publish::kMqttSection, publish::MqttSettingsTexts(preferences.mqtt)}};
}

}  // namespace vantrel
