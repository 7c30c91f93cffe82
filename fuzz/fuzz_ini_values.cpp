// Any text as the value of every key of vantrel.ini: each key gives a value of
// its kind and range, notes at most the text it was given, names in the note the
// value it uses instead, and writes a text that reads back as that value with no
// note.
#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "alarms/AlarmSettings.h"
#include "app/Preferences.h"

namespace {

// A numbered key is tried as its first, a per-channel key as CH0's; a rule left
// out is written as none.
std::string ReadBack(const vantrel::ini::Key& key, const std::string& text,
                     std::vector<vantrel::ini::Problem>& problems) {
    const std::string section(key.section);
    const std::string name = key.perChannel ? vantrel::ini::ChannelKeyName(key, 0)
                                            : std::string(key.name) + (key.numbered ? "1" : "");
    const vantrel::ini::FileTexts file = {{section, {{name, text}}}};
    const vantrel::ini::SectionTexts written =
        section == vantrel::ini::kAlarmsSection
            ? vantrel::alarms::AlarmSettingsTexts(
                  vantrel::alarms::ReadAlarmSettings(file, problems))
            : vantrel::PreferencesTexts(vantrel::ReadPreferences(file, "fuzz-host", problems))
                  .at(section);
    const auto found = written.find(name);
    return found == written.end() ? std::string() : found->second;
}

bool Fits(const vantrel::ini::Key& key, const std::string& value) {
    using vantrel::ini::KeyKind;
    switch (key.kind) {
        case KeyKind::Flag:
            return value == "true" || value == "false";
        case KeyKind::Word:
            return std::find(key.words, key.words + key.wordCount, value) !=
                   key.words + key.wordCount;
        case KeyKind::Number: {
            std::int64_t number = 0;
            const auto [stop, error] =
                std::from_chars(value.data(), value.data() + value.size(), number);
            return error == std::errc() && stop == value.data() + value.size() &&
                   number >= key.lowest && number <= key.highest;
        }
        case KeyKind::Text:
            break;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const vantrel::ini::Key& key : vantrel::ini::kKeys) {
        std::vector<vantrel::ini::Problem> problems;
        const std::string value = ReadBack(key, text, problems);
        if (problems.size() > 1 || !Fits(key, value) ||
            (problems.size() == 1 &&
             (problems[0].found != text ||
              (key.kind != vantrel::ini::KeyKind::Text && problems[0].used != value)))) {
            std::abort();
        }
        std::vector<vantrel::ini::Problem> again;
        if (ReadBack(key, value, again) != value || !again.empty()) {
            std::abort();
        }
    }
    return 0;
}
