#pragma once

// What happened during a run, as one value: an alarm raised, cleared or
// acknowledged, a card lost or answering again, its frames stopped or back, the
// task or logging started, stopped, resumed or moved to a new split file, and the
// markers the user adds. The events file, History's markers, the published events
// and the status lines of a run without windows all take these.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "alarms/Alarm.h"
#include "platform/Clock.h"

namespace vantrel::alarms {

enum class EventKind : std::uint8_t {
    AlarmRaised,
    AlarmCleared,
    AlarmAcknowledged,
    CardLost,
    CardAnswering,
    NoData,
    DataAgain,
    TaskStarted,
    TaskStopped,
    LoggingStarted,
    LoggingStopped,
    LoggingResumed,
    LogSplit,
    Marker,
};
inline constexpr int kEventKinds = static_cast<int>(EventKind::Marker) + 1;

struct RunEvent {
    EventKind kind = EventKind::Marker;
    platform::DateTime at;
    // "CH3", "D17", "card 1"; empty for an event of the whole run.
    std::string channel;
    // For the events of an alarm.
    std::optional<AlarmLevel> level;
    std::optional<double> value;
    std::string text;
    // The alarm an alarm event belongs to.
    std::optional<AlarmId> alarm;
};

// The word for the kind in the events file and the published events: "alarm
// raised", "card lost", "new split file", "marker", ...
const char* EventKindName(EventKind kind);
std::optional<EventKind> EventKindFromName(std::string_view name);

RunEvent ToRunEvent(const AlarmEvent& event);

}  // namespace vantrel::alarms
