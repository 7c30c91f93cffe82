#include "alarms/AlarmSettings.h"

#include <string>

#include "alarms/RuleText.h"

namespace vantrel::alarms {

namespace {

constexpr std::string_view kSection = ini::kAlarmsSection;
constexpr const ini::Key& kRuleKey = ini::KeyOf(kSection, "rule");

// By check, in the order of FaultCheck.
constexpr std::array<const ini::Key*, kFaultChecks> kFaultKeys = {
    &ini::KeyOf(kSection, "loop_fault_off"), &ini::KeyOf(kSection, "sensor_fault_off"),
    &ini::KeyOf(kSection, "conversion_fault_off"), &ini::KeyOf(kSection, "link_fault_off")};

bool IsBlank(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

AlarmSettings ReadAlarmSettings(const ini::FileTexts& file, std::vector<ini::Problem>& problems) {
    ini::SectionReader reader(kSection, file, problems);
    AlarmSettings settings;
    for (const auto& [name, text] : reader.numbered(kRuleKey)) {
        if (IsBlank(text)) {
            continue;
        }
        auto parsed = ParseRule(text);
        if (const std::string* why = std::get_if<std::string>(&parsed)) {
            reader.refuse(name, text, "", *why);
        } else if (settings.rules.size() == kMaxRules) {
            reader.refuse(name, text, "", "more than " + std::to_string(kMaxRules) + " rules");
        } else {
            settings.rules.push_back(std::get<AlarmRule>(parsed));
        }
    }
    for (std::size_t check = 0; check < kFaultChecks; ++check) {
        const ini::Key& key = *kFaultKeys[check];
        const std::string text = reader.text(key, std::string(key.fallbackText));
        const ChannelList list = ParseChannelList(text);
        if (!list.why.empty()) {
            const std::string used = ChannelListText(list.channels);
            reader.refuse(key.name, text, used.empty() ? "" : "\"" + used + "\"", list.why);
        }
        settings.faultsOff[check] = list.channels;
    }
    reader.noteUnknownKeys();
    return settings;
}

ini::SectionTexts AlarmSettingsTexts(const AlarmSettings& settings) {
    ini::SectionTexts texts;
    for (std::size_t index = 0; index < settings.rules.size(); ++index) {
        texts.emplace(std::string(kRuleKey.name) + std::to_string(index + 1),
                      RuleText(settings.rules[index]));
    }
    for (std::size_t check = 0; check < kFaultChecks; ++check) {
        texts.emplace(kFaultKeys[check]->name, ChannelListText(settings.faultsOff[check]));
    }
    return texts;
}

}  // namespace vantrel::alarms
