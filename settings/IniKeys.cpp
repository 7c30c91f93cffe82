#include "settings/IniKeys.h"

namespace vantrel::ini {

std::string_view WordOf(const Key& key, std::size_t index) {
    return index < key.wordCount ? key.words[index] : std::string_view();
}

namespace {

// Channels as the cards number them, CH0 to CH15.
constexpr int kChannelKeys = 16;

}  // namespace

std::string ChannelKeyName(const Key& key, int channel) {
    return "ch" + std::to_string(channel) + "_" + std::string(key.name);
}

bool IsNameOf(const Key& key, std::string_view name) {
    if (key.perChannel) {
        for (int channel = 0; channel < kChannelKeys; ++channel) {
            if (name == ChannelKeyName(key, channel)) {
                return true;
            }
        }
        return false;
    }
    if (!key.numbered) {
        return name == key.name;
    }
    if (!name.starts_with(key.name)) {
        return false;
    }
    const std::string_view number = name.substr(key.name.size());
    return !number.empty() && number.front() != '0' &&
           number.find_first_not_of("0123456789") == std::string_view::npos;
}

std::string DefaultText(const Key& key) {
    switch (key.kind) {
        case KeyKind::Flag:
            return std::string(key.fallback != 0 ? kYesWords[0] : kNoWords[0]);
        case KeyKind::Number:
            return std::to_string(key.fallback);
        case KeyKind::Word:
            return std::string(WordOf(key, static_cast<std::size_t>(key.fallback)));
        case KeyKind::Text:
            break;
    }
    return std::string(key.fallbackText);
}

std::string RangeText(const Key& key) {
    return std::to_string(key.lowest) + (key.highest == key.lowest + 1 ? " or " : " to ") +
           std::to_string(key.highest);
}

}  // namespace vantrel::ini
