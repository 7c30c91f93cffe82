#pragma once

// The [mqtt] section of vantrel.ini: where live values are published and how.
// The rules for each key live here, so the file and the settings window agree.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/IniValues.h"

namespace vantrel::publish {

inline constexpr const char* kMqttSection = "mqtt";
inline constexpr int kLongestIntervalMs = 3600000;

struct MqttSettings {
    bool enabled = false;
    std::string host = "localhost";
    int port = 1883;
    // Letters, digits, '-' and '_'; the program's default is the machine's name.
    std::string station;
    std::string topicPrefix = "vantrel";
    // Each channel's latest value at most this often; 0 sends every frame.
    int intervalMs = 1000;
    int qos = 1;
    std::string username;
    std::string password;
    bool tls = false;
    // Empty: the system's trusted authorities.
    std::string caFile;

    bool operator==(const MqttSettings&) const = default;
};

bool IsValidHost(std::string_view host);
bool IsValidStation(std::string_view station);
// Topic levels of letters, digits, '-', '_' and '.', joined by single '/'.
bool IsValidTopicPrefix(std::string_view prefix);
// No control characters.
bool IsValidUserName(std::string_view name);

// The machine's host name made a valid station: its first label, other characters
// replaced by '_'; "vantrel" when nothing is left.
std::string StationFromHostName(std::string_view hostName);

// Missing keys take their defaults; a text breaking its key's rule too, noted in
// problems.
MqttSettings ReadMqttSettings(const ini::FileTexts& file, const std::string& defaultStation,
                              std::vector<ini::Problem>& problems);
// The section as the file keeps it.
ini::SectionTexts MqttSettingsTexts(const MqttSettings& settings);
// The first rule the settings break, as a sentence for the user; nothing when all
// hold.
std::optional<std::string> MqttSettingsProblem(const MqttSettings& settings);

}  // namespace vantrel::publish
