#pragma once

// What the user asks to be told about: rules on a channel's value, a derived
// channel's value or a digital input line, and which built-in sensor and link faults are watched.
// Plain values, kept in the [alarms] part of vantrel.ini (alarms/AlarmSettings.h).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::alarms {

inline constexpr std::size_t kMaxRules = 64;
// A delay longer than a day is no delay anyone waits for at a rig.
inline constexpr double kLongestDelaySeconds = 86400.0;

enum class AlarmLevel : std::uint8_t { Warning, Critical };

enum class Condition : std::uint8_t {
    // On a channel's or a derived channel's value.
    Above,
    Below,
    Outside,
    Inside,
    // On a digital input line.
    IsOn,
    IsOff,
    Changes,
};

constexpr bool IsLineCondition(Condition condition) {
    return condition >= Condition::IsOn;
}

// Sets or clears a digital output line (line slot 0..31, either card).
struct OutputAction {
    int line = 0;
    bool on = true;
    bool operator==(const OutputAction&) const = default;
};

struct AlarmRule {
    enum class Input : std::uint8_t { Channel, Line, Derived };
    Input input = Input::Channel;
    int slot = 0;  // channel slot 0..15, or line slot 0..31
    // The derived channel's name; kept by name, so that the rule follows the
    // channel when others are added or removed before it.
    std::string derived;
    Condition condition = Condition::Above;
    double limit = 0.0;  // above, below
    double low = 0.0;    // outside, inside: the band, low <= high
    double high = 0.0;
    AlarmLevel level = AlarmLevel::Warning;
    // How far back past the limit the value must come before the alarm clears,
    // so that a value wavering at the limit does not raise it over and over.
    double hysteresis = 0.0;
    // How long the condition must hold before the alarm is raised, and be gone
    // before it is cleared.
    double onDelaySeconds = 0.0;
    double offDelaySeconds = 0.0;
    // Stays raised, once raised, until acknowledged.
    bool latching = false;
    // Done when the alarm is raised.
    std::optional<OutputAction> output;
    bool beep = false;
    bool notify = false;
    bool operator==(const AlarmRule&) const = default;
};

// The built-in faults, each watched on every channel in use unless switched off.
enum class FaultCheck : std::uint8_t {
    Loop,        // a 4-20 mA loop below 3.6 mA or above 21.0 mA
    Sensor,      // a PT-100 or thermocouple reading beyond its table
    Conversion,  // the channel did not convert
    Link,        // the channel's card: port lost, no answer, no data
};
inline constexpr std::size_t kFaultChecks = 4;

struct AlarmSettings {
    std::vector<AlarmRule> rules;  // at most kMaxRules
    // By check, the channels it is switched off for: channel slot s in bit s.
    std::array<std::uint16_t, kFaultChecks> faultsOff{};
    bool operator==(const AlarmSettings&) const = default;

    std::uint16_t& off(FaultCheck check) { return faultsOff[static_cast<std::size_t>(check)]; }
    std::uint16_t off(FaultCheck check) const { return faultsOff[static_cast<std::size_t>(check)]; }
};

}  // namespace vantrel::alarms
