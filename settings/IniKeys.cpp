#include "settings/IniKeys.h"

namespace vantrel::ini {

std::string_view WordOf(const Key& key, std::size_t index) {
    return index < key.wordCount ? key.words[index] : std::string_view();
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
