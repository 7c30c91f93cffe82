#include "alarms/RunEvent.h"

#include <array>

namespace vantrel::alarms {

namespace {
constexpr std::array<const char*, kEventKinds> kNames = {
    "alarm raised",    "alarm cleared",   "alarm acknowledged", "card lost",    "card answering",
    "no data",         "data again",      "task started",       "task stopped", "logging started",
    "logging stopped", "logging resumed", "new split file",     "marker",
};
}  // namespace

const char* EventKindName(EventKind kind) {
    return kNames[static_cast<std::size_t>(kind)];
}

std::optional<EventKind> EventKindFromName(std::string_view name) {
    for (std::size_t k = 0; k < kNames.size(); ++k) {
        if (name == kNames[k]) {
            return static_cast<EventKind>(k);
        }
    }
    return std::nullopt;
}

RunEvent ToRunEvent(const AlarmEvent& event) {
    RunEvent run;
    switch (event.kind) {
        case AlarmEvent::Kind::Raised:
            run.kind = EventKind::AlarmRaised;
            break;
        case AlarmEvent::Kind::Cleared:
            run.kind = EventKind::AlarmCleared;
            break;
        case AlarmEvent::Kind::Acknowledged:
            run.kind = EventKind::AlarmAcknowledged;
            break;
    }
    run.at = event.at;
    run.channel = event.subject;
    run.level = event.level;
    run.value = event.value;
    run.text = event.text;
    run.alarm = event.id;
    return run;
}

}  // namespace vantrel::alarms
