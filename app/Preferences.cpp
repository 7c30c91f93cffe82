#include "app/Preferences.h"

namespace vantrel {

Preferences ReadPreferences(const ini::FileTexts& file, const std::string& hostName,
                            std::vector<ini::Problem>& problems) {
    Preferences preferences;
    preferences.mqtt =
        publish::ReadMqttSettings(file, publish::StationFromHostName(hostName), problems);
    preferences.logging = ReadLoggingPreferences(file, problems);
    preferences.alarms = alarms::ReadAlarmSettings(file, problems);
    preferences.derived = derived::ReadDerivedSettings(file, problems);
    preferences.channels = ini::ReadChannelScales(file, problems);
    preferences.trend = ini::ReadTrendColours(file, problems);
    ini::NoteUnknownSections(file, problems);
    return preferences;
}

ini::FileTexts PreferencesTexts(const Preferences& preferences) {
    return {{std::string(ini::kMqttSection), publish::MqttSettingsTexts(preferences.mqtt)},
            {std::string(ini::kLoggingSection), LoggingPreferencesTexts(preferences.logging)},
            {std::string(ini::kAlarmsSection), alarms::AlarmSettingsTexts(preferences.alarms)},
            {std::string(ini::kDerivedSection), derived::DerivedSettingsTexts(preferences.derived)},
            {std::string(ini::kChannelsSection), ini::ChannelScalesTexts(preferences.channels)},
            {std::string(ini::kTrendSection), ini::TrendColoursTexts(preferences.trend)}};
}

}  // namespace vantrel
