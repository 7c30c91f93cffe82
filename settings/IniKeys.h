#pragma once

// Every key of vantrel.ini, once: its section, name, kind, default and the values
// it takes. The readers, the settings pages, the start-up message and the key
// tables of the README, the man page and docs/mqtt.md all go by this table.
// A new key is a row here, a field in its section's struct and a line binding
// the two (settings/IniFields.h).

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vantrel::ini {

enum class KeyKind {
    // A yes/no word (kYesWords, kNoWords).
    Flag,
    // A whole decimal number from lowest to highest.
    Number,
    // One of words; the value is its place in the list.
    Word,
    // Any text its section's rule allows.
    Text,
};

// Read in any letter case; the first of each is the one written.
inline constexpr std::array<std::string_view, 4> kYesWords = {"true", "yes", "on", "1"};
inline constexpr std::array<std::string_view, 4> kNoWords = {"false", "no", "off", "0"};

inline constexpr std::array<std::string_view, 3> kSplitWords = {"none", "daily", "size"};
inline constexpr std::array<std::string_view, 3> kSyncWords = {"record", "interval", "none"};
inline constexpr std::array<std::string_view, 3> kStatisticsWords = {"last", "mean",
                                                                     "min_max_mean"};
inline constexpr std::array<std::string_view, 2> kDecimalWords = {"point", "comma"};
// What a frame's analog values go out as: a message per channel, one per card, or
// a line of InfluxDB's line protocol per card.
inline constexpr std::array<std::string_view, 3> kPayloadWords = {"per_channel", "per_card",
                                                                  "influx"};
// save_options: the separator chosen in File > Save.
inline constexpr std::array<std::string_view, 6> kSeparatorWords = {
    "save_options", "comma", "semicolon", "tab", "space", "four_spaces"};

struct Key {
    std::string_view section;
    std::string_view name;
    KeyKind kind = KeyKind::Text;
    // Flag: 0 or 1; Number: the number; Word: the place of the word.
    std::int64_t fallback = 0;
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
    const std::string_view* words = nullptr;
    std::size_t wordCount = 0;
    // Text: empty when the section gives it (the station is the machine's name).
    std::string_view fallbackText{};
    // Shown as the tooltip of the key's control in Options > Settings.
    std::string_view help{};
    // One key of this kind per item, numbered: rule1, rule2, ... (any number from
    // 1 without leading zeros, read in number order), so that a user writing the
    // file by hand can leave gaps to fill in later.
    bool numbered = false;
    // One key of this kind per channel: ch0_scale to ch15_scale.
    bool perChannel = false;
};

namespace detail {

template <std::size_t N>
constexpr Key WordKey(std::string_view section, std::string_view name,
                      const std::array<std::string_view, N>& words, std::int64_t fallback) {
    return {.section = section,
            .name = name,
            .kind = KeyKind::Word,
            .fallback = fallback,
            .words = words.data(),
            .wordCount = N};
}

constexpr Key NumberKey(std::string_view section, std::string_view name, std::int64_t fallback,
                        std::int64_t lowest, std::int64_t highest) {
    return {.section = section,
            .name = name,
            .kind = KeyKind::Number,
            .fallback = fallback,
            .lowest = lowest,
            .highest = highest};
}

constexpr Key FlagKey(std::string_view section, std::string_view name, bool fallback) {
    return {.section = section, .name = name, .kind = KeyKind::Flag, .fallback = fallback ? 1 : 0};
}

constexpr Key TextKey(std::string_view section, std::string_view name, std::string_view fallback,
                      std::string_view help = {}) {
    return {.section = section,
            .name = name,
            .kind = KeyKind::Text,
            .fallbackText = fallback,
            .help = help};
}

constexpr Key NumberedTextKey(std::string_view section, std::string_view name,
                              std::string_view help) {
    return {.section = section,
            .name = name,
            .kind = KeyKind::Text,
            .fallbackText = {},
            .help = help,
            .numbered = true};
}

constexpr Key PerChannelTextKey(std::string_view section, std::string_view name,
                                std::string_view help) {
    return {.section = section,
            .name = name,
            .kind = KeyKind::Text,
            .fallbackText = {},
            .help = help,
            .perChannel = true};
}

// Logs and disk sizes up to a tebibyte in KiB, a pebibyte in MiB.
inline constexpr std::int64_t kLargestSize = std::int64_t{1} << 30;

}  // namespace detail

inline constexpr std::string_view kMqttSection = "mqtt";
inline constexpr std::string_view kLoggingSection = "logging";
inline constexpr std::string_view kAlarmsSection = "alarms";
inline constexpr std::string_view kDerivedSection = "derived";
inline constexpr std::string_view kChannelsSection = "channels";
inline constexpr std::string_view kTrendSection = "trend";

// Sections in the order the start-up message names their problems.
inline constexpr auto kKeys = std::to_array<Key>({
    detail::FlagKey(kMqttSection, "enabled", false),
    detail::TextKey(kMqttSection, "host", "localhost"),
    detail::NumberKey(kMqttSection, "port", 1883, 1, 65535),
    detail::TextKey(kMqttSection, "station", "",
                    "Names this rig in the topics: letters, digits, - and _."),
    detail::TextKey(kMqttSection, "topic_prefix", "vantrel"),
    // Each channel's latest value at most this often; 0 sends every frame.
    detail::NumberKey(kMqttSection, "interval_ms", 1000, 0, 3600000),
    detail::NumberKey(kMqttSection, "qos", 1, 0, 1),
    detail::TextKey(kMqttSection, "username", ""),
    detail::TextKey(kMqttSection, "password", ""),
    detail::FlagKey(kMqttSection, "tls", false),
    // Empty: the system's trusted authorities.
    detail::TextKey(kMqttSection, "ca_file", ""),
    detail::WordKey(kMqttSection, "payload", kPayloadWords, 0),

    detail::WordKey(kLoggingSection, "split", kSplitWords, 0),
    // A file of ten megabytes still opens at once in a spreadsheet.
    detail::NumberKey(kLoggingSection, "split_size_kb", 10240, 1, detail::kLargestSize),
    // A power cut loses nothing that the last tick wrote.
    detail::WordKey(kLoggingSection, "sync", kSyncWords, 0),
    detail::NumberKey(kLoggingSection, "sync_interval_s", 60, 1, 86400),
    detail::FlagKey(kLoggingSection, "resume", false),
    // Warn while a day of one-second records still fits many times over; 0 never.
    detail::NumberKey(kLoggingSection, "low_space_mb", 200, 0, detail::kLargestSize),
    // What a record holds per channel: the last frame's value, or the interval's
    // figures over every frame converted in it.
    detail::WordKey(kLoggingSection, "statistics", kStatisticsWords, 0),
    detail::WordKey(kLoggingSection, "decimal", kDecimalWords, 0),
    detail::WordKey(kLoggingSection, "separator", kSeparatorWords, 0),
    // Off: the header holds the names alone, as it always has.
    detail::FlagKey(kLoggingSection, "header_units", false),

    detail::NumberedTextKey(kAlarmsSection, "rule",
                            "A channel or line, its condition and options, for example "
                            "CH3 above 80 critical hysteresis 2 on-delay 5 latching."),
    // Channels whose built-in faults are not watched, as "CH2 CH5".
    detail::TextKey(kAlarmsSection, "loop_fault_off", ""),
    detail::TextKey(kAlarmsSection, "sensor_fault_off", ""),
    detail::TextKey(kAlarmsSection, "conversion_fault_off", ""),
    detail::TextKey(kAlarmsSection, "link_fault_off", ""),

    detail::TextKey(kDerivedSection, "saved", "",
                    "The derived channels logged after the marked channels, by name, "
                    "separated by commas."),
    detail::NumberedTextKey(kDerivedSection, "derived",
                            "A name, unit, decimals and expression, for example "
                            "dT | K | 2 | ch1 - ch0."),
    // None of the three: the channel shows its converted value as it always has.
    detail::PerChannelTextKey(kChannelsSection, "scale",
                              "Two points as input, value, input, value (4 0 20 10: 4 mA reads "
                              "0 and 20 mA reads 10), or gain 0.625 offset -2.5."),
    detail::PerChannelTextKey(kChannelsSection, "unit",
                              "Written after the value: up to 16 characters on one line."),
    detail::PerChannelTextKey(kChannelsSection, "decimals",
                              "0 to 9; none: as many as the input type shows."),

    // Written when the user picks a line's colour in the Real Time Trend.
    detail::PerChannelTextKey(kTrendSection, "colour",
                              "#RRGGBB in hexadecimal; none: the channel's colour of the palette."),
});

// A name that is not in the table does not build.
consteval const Key& KeyOf(std::string_view section, std::string_view name) {
    for (const Key& key : kKeys) {
        if (key.section == section && key.name == name) {
            return key;
        }
    }
    throw std::logic_error("no such key in vantrel.ini");
}

// The default of a flag, number or word key as its field holds it.
template <typename T>
consteval T DefaultOf(std::string_view section, std::string_view name) {
    return static_cast<T>(KeyOf(section, name).fallback);
}

// As the file holds it: "true", "10240", "none", "localhost".
std::string DefaultText(const Key& key);
// A number key's range as the texts give it: "1 to 65535", or "0 or 1".
std::string RangeText(const Key& key);
std::string_view WordOf(const Key& key, std::size_t index);
// Whether name is one of the key's names: its own, for a numbered key its name
// and a number from 1 without leading zeros ("rule7"), for a per-channel key a
// channel and its name ("ch15_unit").
bool IsNameOf(const Key& key, std::string_view name);
// A per-channel key's name for the channel: "ch3_scale".
std::string ChannelKeyName(const Key& key, int channel);

}  // namespace vantrel::ini
