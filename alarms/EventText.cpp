#include "alarms/EventText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace vantrel::alarms {

std::string EventValueText(double value) {
    std::array<char, 32> text{};
    const auto narrow = static_cast<float>(value);
    const bool isFloat = std::isfinite(value) ? static_cast<double>(narrow) == value : true;
    const auto result = isFloat ? std::to_chars(text.data(), text.data() + text.size(), narrow)
                                : std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), result.ptr);
}

std::string EventDescription(const RunEvent& event) {
    std::string line = EventKindName(event.kind);
    if (!event.channel.empty()) {
        line += ' ' + event.channel;
    }
    if (event.level) {
        line += ' ';
        line += LevelText(*event.level);
    }
    if (event.value) {
        line += ' ' + EventValueText(*event.value);
    }
    if (!event.text.empty()) {
        line += ": " + event.text;
    }
    return line;
}

std::string EventLine(const RunEvent& event) {
    return "Event: " + EventDescription(event);
}

}  // namespace vantrel::alarms
