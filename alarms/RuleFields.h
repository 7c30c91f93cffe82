#pragma once

// A rule as the Alarms settings page shows it: one field per part, numbers and
// names as typed. Turned into a rule only when every field holds; otherwise the
// first field that does not, with a message that starts with the field's name.

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "alarms/AlarmRule.h"
#include "derived/DerivedChannel.h"
#include "engine/AcquisitionState.h"

namespace vantrel::alarms {

enum class OutputChoice : std::uint8_t { None, Set, Clear };

struct RuleFields {
    std::string input = "CH0";  // "CH3", "D17", "dT"
    Condition condition = Condition::Above;
    std::string limit;  // above, below
    std::string low;    // outside, inside
    std::string high;
    AlarmLevel level = AlarmLevel::Warning;
    std::string hysteresis = "0";
    std::string onDelay = "0";
    std::string offDelay = "0";
    bool latching = false;
    OutputChoice output = OutputChoice::None;
    std::string outputLine = "D0";
    bool beep = false;
    bool notify = false;
};

enum class RuleField : std::uint8_t {
    Input,
    Condition,
    Limit,
    Low,
    High,
    Hysteresis,
    OnDelay,
    OffDelay,
    OutputLine,
};

struct FieldProblem {
    RuleField field;
    std::string message;  // "Level: "8O" is not a number."
};

// Line slot s in bit s when it is set up as an output.
std::uint32_t OutputLines(const Slots<std::int16_t, kLineArraySize>& directions);

RuleFields FieldsOf(const AlarmRule& rule);
std::variant<AlarmRule, FieldProblem> RuleOf(const RuleFields& fields, std::uint32_t outputLines);

// The first rule of the list that cannot be kept as it is, as "Rule 3 (CH3 above
// 80 set D4): ...": too many rules, or an output line that is an input.
std::optional<std::string> AlarmSettingsProblem(const AlarmSettings& settings,
                                                std::uint32_t outputLines);
// The rules on a derived channel the derived settings do not hold, each as
// "Rule 3 (dT above 5 warning): there is no derived channel dT".
std::vector<std::string> UnknownDerivedRules(const AlarmSettings& settings,
                                             const derived::DerivedSettings& derived);
// Refuses a rule past the last one a list holds.
std::string TooManyRulesMessage();

}  // namespace vantrel::alarms
