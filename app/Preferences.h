#pragma once

// The program's own choices beyond the documented settings files, kept in
// vantrel.ini in the start folder: one section per subject, its keys rows of
// settings/IniKeys.h, its fields in the area it belongs to. Plain values; only the
// app layer touches the file itself.

#include <string>
#include <vector>

#include "alarms/AlarmSettings.h"
#include "derived/DerivedSettings.h"
#include "logging/LoggingPreferences.h"
#include "publish/MqttSettings.h"
#include "settings/ChannelScaleSettings.h"
#include "settings/IniValues.h"
#include "settings/TrendColourSettings.h"

namespace vantrel {

struct Preferences {
    publish::MqttSettings mqtt;
    LoggingPreferences logging;
    alarms::AlarmSettings alarms;
    derived::DerivedSettings derived;
    ChannelScales channels;
    ini::TrendColourChoices trend;
    bool operator==(const Preferences&) const = default;
};

// hostName: the machine's name, from which the station's default comes. The "" section
// holds the keys before any section; these, unknown sections and unknown keys are
// noted in problems, each once.
Preferences ReadPreferences(const ini::FileTexts& file, const std::string& hostName,
                            std::vector<ini::Problem>& problems);
ini::FileTexts PreferencesTexts(const Preferences& preferences);

}  // namespace vantrel
