#pragma once

// The [mqtt] section of vantrel.ini: where live values are published and how.
// Its keys, defaults and ranges are rows of settings/IniKeys.h; the rules for the
// texts live here, so the file and the settings window agree.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/IniKeys.h"
#include "settings/IniValues.h"

namespace vantrel::publish {

// In the order of the payload key's words.
enum class PayloadShape { PerChannel, PerCard, Influx };

struct MqttSettings {
    bool enabled = ini::DefaultOf<bool>(ini::kMqttSection, "enabled");
    std::string host{ini::KeyOf(ini::kMqttSection, "host").fallbackText};
    int port = ini::DefaultOf<int>(ini::kMqttSection, "port");
    // Letters, digits, '-' and '_'; the program's default is the machine's name.
    std::string station;
    std::string topicPrefix{ini::KeyOf(ini::kMqttSection, "topic_prefix").fallbackText};
    // Each channel's latest value at most this often; 0 sends every frame.
    int intervalMs = ini::DefaultOf<int>(ini::kMqttSection, "interval_ms");
    int qos = ini::DefaultOf<int>(ini::kMqttSection, "qos");
    std::string username;
    std::string password;
    bool tls = ini::DefaultOf<bool>(ini::kMqttSection, "tls");
    // Empty: the system's trusted authorities.
    std::string caFile;
    PayloadShape payload = ini::DefaultOf<PayloadShape>(ini::kMqttSection, "payload");

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
