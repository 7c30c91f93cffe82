#include "publish/MqttSettings.h"

#include <algorithm>
#include <cctype>

#include "settings/IniFields.h"

namespace vantrel::publish {

namespace {

constexpr std::size_t kLongestHost = 253;
constexpr std::size_t kLongestStation = 64;
constexpr std::size_t kLongestPrefix = 128;

bool IsAsciiAlnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

bool IsStationCharacter(char c) {
    return IsAsciiAlnum(c) || c == '-' || c == '_';
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

bool IsValidHost(std::string_view host) {
    return !host.empty() && host.size() <= kLongestHost &&
           std::none_of(host.begin(), host.end(), [](char c) {
               return IsControl(c) || c == ' ' || c == '/' || c == '#' || c == '+';
           });
}

bool IsValidStation(std::string_view station) {
    return !station.empty() && station.size() <= kLongestStation &&
           std::all_of(station.begin(), station.end(), IsStationCharacter);
}

bool IsValidTopicPrefix(std::string_view prefix) {
    if (prefix.empty() || prefix.size() > kLongestPrefix) {
        return false;
    }
    std::size_t levelLength = 0;
    for (char c : prefix) {
        if (c == '/') {
            // An empty level ("a//b", "/a", "a/") is a different topic from the
            // one the user meant.
            if (levelLength == 0) {
                return false;
            }
            levelLength = 0;
        } else if (IsStationCharacter(c) || c == '.') {
            ++levelLength;
        } else {
            return false;
        }
    }
    return levelLength > 0;
}

bool IsValidUserName(std::string_view name) {
    return std::none_of(name.begin(), name.end(), IsControl);
}

std::string StationFromHostName(std::string_view hostName) {
    std::string station(hostName.substr(0, hostName.find('.')));
    std::replace_if(
        station.begin(), station.end(), [](char c) { return !IsStationCharacter(c); }, '_');
    station.resize(std::min(station.size(), kLongestStation));
    return station.empty() ? "vantrel" : station;
}

namespace {

using Fields = std::vector<ini::Field<MqttSettings>>;

const Fields& MqttFields() {
    using ini::Bind;
    using ini::KeyOf;
    using S = MqttSettings;
    constexpr std::string_view m = ini::kMqttSection;
    static const Fields fields = {
        Bind(KeyOf(m, "enabled"), &S::enabled),
        Bind(KeyOf(m, "host"), &S::host, IsValidHost),
        Bind(KeyOf(m, "port"), &S::port),
        Bind(KeyOf(m, "station"), &S::station, IsValidStation),
        Bind(KeyOf(m, "topic_prefix"), &S::topicPrefix, IsValidTopicPrefix),
        Bind(KeyOf(m, "interval_ms"), &S::intervalMs),
        Bind(KeyOf(m, "qos"), &S::qos),
        Bind(KeyOf(m, "username"), &S::username, IsValidUserName),
        Bind(KeyOf(m, "password"), &S::password),
        Bind(KeyOf(m, "tls"), &S::tls),
        Bind(KeyOf(m, "ca_file"), &S::caFile),
        Bind(KeyOf(m, "payload"), &S::payload),
    };
    return fields;
}

bool InRange(const ini::Key& key, int value) {
    return value >= key.lowest && value <= key.highest;
}

}  // namespace

MqttSettings ReadMqttSettings(const ini::FileTexts& file, const std::string& defaultStation,
                              std::vector<ini::Problem>& problems) {
    MqttSettings start;
    start.station = defaultStation;
    return ini::ReadFields(MqttFields(), ini::kMqttSection, file, start, problems);
}

ini::SectionTexts MqttSettingsTexts(const MqttSettings& settings) {
    return ini::FieldTexts(MqttFields(), settings);
}

std::optional<std::string> MqttSettingsProblem(const MqttSettings& settings) {
    if (!IsValidHost(settings.host)) {
        return "The broker's host name must not be empty or hold blanks.";
    }
    constexpr const ini::Key& port = ini::KeyOf(ini::kMqttSection, "port");
    if (!InRange(port, settings.port)) {
        return "The broker's port must lie from " + ini::RangeText(port) + ".";
    }
    if (!IsValidStation(settings.station)) {
        return "The station name may hold only letters, digits, '-' and '_'.";
    }
    if (!IsValidTopicPrefix(settings.topicPrefix)) {
        return "The topic prefix may hold only letters, digits, '-', '_' and '.', in levels "
               "joined by single '/'.";
    }
    constexpr const ini::Key& interval = ini::KeyOf(ini::kMqttSection, "interval_ms");
    if (!InRange(interval, settings.intervalMs)) {
        return "The interval must lie from " + ini::RangeText(interval) + " ms.";
    }
    constexpr const ini::Key& qos = ini::KeyOf(ini::kMqttSection, "qos");
    if (!InRange(qos, settings.qos)) {
        return "The quality of service must be " + ini::RangeText(qos) + ".";
    }
    if (!IsValidUserName(settings.username)) {
        return "The user name must not hold control characters.";
    }
    return std::nullopt;
}

}  // namespace vantrel::publish
