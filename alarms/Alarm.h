#pragma once

// An alarm as the evaluator raises it, and the events it hands out: raised,
// cleared, acknowledged. Each alarm carries its texts from the moment it was
// raised, so a list, a log of events or a message need nothing else to show it.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>

#include "alarms/AlarmRule.h"
#include "platform/Clock.h"

namespace vantrel::alarms {

enum class AlarmKind : std::uint8_t {
    Rule,
    // Built-in, on a channel.
    LoopLow,
    LoopHigh,
    BelowTable,
    AboveTable,
    ConversionFailed,
    // Built-in, on a card.
    PortLost,
    NoAnswer,
    NoData,
};

// Which alarm: a rule by its place in the settings, a channel fault by channel
// slot, a link fault by card (0 card 1, 1 card 2).
struct AlarmId {
    AlarmKind kind = AlarmKind::Rule;
    int index = 0;
    auto operator<=>(const AlarmId&) const = default;
};

struct ActiveAlarm {
    AlarmId id;
    AlarmLevel level = AlarmLevel::Warning;
    std::string subject;  // "CH3", "D17", "card 1"
    std::string text;     // "CH3 above 80", "Loop open or transmitter failed (below 3.6 mA)"
    platform::DateTime raisedAt;
    // The channel's value, the loop's mA or the line's 1 or 0; nothing for a fault
    // without a reading.
    std::optional<double> valueAtRaise;
    bool acknowledged = false;
    // False for a latched alarm whose condition has gone: it waits for its
    // acknowledgement.
    bool conditionHolds = true;
    // Raised after every alarm with a lower number.
    std::uint64_t sequence = 0;
};

struct AlarmEvent {
    enum class Kind : std::uint8_t { Raised, Cleared, Acknowledged };
    Kind kind = Kind::Raised;
    AlarmId id;
    AlarmLevel level = AlarmLevel::Warning;
    std::string subject;
    std::string text;
    platform::DateTime at;
    // The reading at that moment, when there is one.
    std::optional<double> value;
};

// "warning", "critical"; "raised", "cleared", "acknowledged".
const char* LevelText(AlarmLevel level);
const char* EventKindText(AlarmEvent::Kind kind);

}  // namespace vantrel::alarms
