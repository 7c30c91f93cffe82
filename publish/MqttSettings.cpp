#include "publish/MqttSettings.h"

#include <algorithm>
#include <cctype>

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

MqttSettings ReadMqttSettings(const ini::FileTexts& file, const std::string& defaultStation,
                              std::vector<ini::Problem>& problems) {
    const MqttSettings defaults;
    ini::SectionReader reader(kMqttSection, file, problems);
    MqttSettings settings;
    settings.enabled = reader.flag("enabled", defaults.enabled);
    settings.host = reader.text("host", defaults.host, IsValidHost);
    settings.port = reader.number("port", 1, 65535, defaults.port);
    settings.station = reader.text("station", defaultStation, IsValidStation);
    settings.topicPrefix = reader.text("topic_prefix", defaults.topicPrefix, IsValidTopicPrefix);
    settings.intervalMs = reader.number("interval_ms", 0, kLongestIntervalMs, defaults.intervalMs);
    settings.qos = reader.number("qos", 0, 1, defaults.qos);
    settings.username = reader.text("username", defaults.username, IsValidUserName);
    settings.password = reader.text("password", defaults.password);
    settings.tls = reader.flag("tls", defaults.tls);
    settings.caFile = reader.text("ca_file", defaults.caFile);
    reader.noteUnknownKeys();
    return settings;
}

ini::SectionTexts MqttSettingsTexts(const MqttSettings& settings) {
    return {
        {"enabled", ini::FlagText(settings.enabled)},
        {"host", settings.host},
        {"port", std::to_string(settings.port)},
        {"station", settings.station},
        {"topic_prefix", settings.topicPrefix},
        {"interval_ms", std::to_string(settings.intervalMs)},
        {"qos", std::to_string(settings.qos)},
        {"username", settings.username},
        {"password", settings.password},
        {"tls", ini::FlagText(settings.tls)},
        {"ca_file", settings.caFile},
    };
}

std::optional<std::string> MqttSettingsProblem(const MqttSettings& settings) {
    if (!IsValidHost(settings.host)) {
        return "The broker's host name must not be empty or hold blanks.";
    }
    if (settings.port < 1 || settings.port > 65535) {
        return "The broker's port must lie from 1 to 65535.";
    }
    if (!IsValidStation(settings.station)) {
        return "The station name may hold only letters, digits, '-' and '_'.";
    }
    if (!IsValidTopicPrefix(settings.topicPrefix)) {
        return "The topic prefix may hold only letters, digits, '-', '_' and '.', in levels "
               "joined by single '/'.";
    }
    if (settings.intervalMs < 0 || settings.intervalMs > kLongestIntervalMs) {
        return "The interval must lie from 0 to 3600000 ms.";
    }
    if (settings.qos != 0 && settings.qos != 1) {
        return "The quality of service must be 0 or 1.";
    }
    if (!IsValidUserName(settings.username)) {
        return "The user name must not hold control characters.";
    }
    return std::nullopt;
}

}  // namespace vantrel::publish
