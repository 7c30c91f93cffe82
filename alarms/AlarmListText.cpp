#include "alarms/AlarmListText.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace vantrel::alarms {

std::string ActiveAlarmsLine(const std::vector<ActiveAlarm>& active) {
    if (active.empty()) {
        return {};
    }
    const std::size_t count = active.size();
    return std::to_string(count) + (count == 1 ? " alarm: " : " alarms: ") + active.front().text;
}

std::string ShownTime(const platform::DateTime& at) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02d", at.year, at.month,
                  at.day, at.hour, at.minute, at.second);
    return text.data();
}

std::string ShownValue(const std::optional<double>& value) {
    if (!value) {
        return {};
    }
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), *value,
                                      std::chars_format::general, 6);
    return {text.data(), result.ptr};
}

std::optional<int> AlarmChannel(const AlarmId& id, const AlarmSettings& settings) {
    switch (id.kind) {
        case AlarmKind::Rule: {
            const auto index = static_cast<std::size_t>(id.index);
            if (id.index < 0 || index >= settings.rules.size() ||
                settings.rules[index].input != AlarmRule::Input::Channel) {
                return std::nullopt;
            }
            return settings.rules[index].slot;
        }
        case AlarmKind::LoopLow:
        case AlarmKind::LoopHigh:
        case AlarmKind::BelowTable:
        case AlarmKind::AboveTable:
        case AlarmKind::ConversionFailed:
            return id.index;
        case AlarmKind::PortLost:
        case AlarmKind::NoAnswer:
        case AlarmKind::NoData:
            break;
    }
    return std::nullopt;
}

std::vector<AlarmHistoryRow> AlarmHistory(const std::deque<RunEvent>& events, std::size_t limit) {
    std::vector<AlarmHistoryRow> rows;
    for (auto event = events.rbegin(); event != events.rend() && rows.size() < limit; ++event) {
        const char* kind = nullptr;
        switch (event->kind) {
            case EventKind::AlarmRaised:
                kind = EventKindText(AlarmEvent::Kind::Raised);
                break;
            case EventKind::AlarmCleared:
                kind = EventKindText(AlarmEvent::Kind::Cleared);
                break;
            case EventKind::AlarmAcknowledged:
                kind = EventKindText(AlarmEvent::Kind::Acknowledged);
                break;
            default:
                continue;
        }
        rows.push_back({ShownTime(event->at), kind, event->channel, event->text, event->level,
                        ShownValue(event->value)});
    }
    return rows;
}

}  // namespace vantrel::alarms
