#include "alarms/RuleFields.h"

#include <algorithm>
#include <array>

#include "alarms/RuleText.h"
#include "derived/DerivedChannel.h"

namespace vantrel::alarms {

namespace {

// As the page labels them.
constexpr std::array<const char*, 9> kFieldNames = {"Input",    "Condition", "Level",
                                                    "Low end",  "High end",  "Hysteresis",
                                                    "On-delay", "Off-delay", "Output line"};

FieldProblem Problem(RuleField field, const std::string& why) {
    return {field, std::string(kFieldNames[static_cast<std::size_t>(field)]) + ": " + why + "."};
}

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string NoLine(int line) {
    return "there is no line D" + std::to_string(line) + "; lines are D0 to D" +
           std::to_string(kUsedLines - 1);
}

// Reads one field after another, stopping at the first that does not hold.
class FieldsReader {
  public:
    explicit FieldsReader(const RuleFields& fields) : fields_(fields) {}

    std::optional<FieldProblem> problem;

    bool number(RuleField field, const std::string& text, double& value) {
        const std::string word = Trimmed(text);
        if (word.empty()) {
            return refuse(field, "a number is needed");
        }
        const std::optional<double> read = ReadNumber(word);
        if (!read) {
            return refuse(field, "\"" + word + "\" is not a number");
        }
        value = *read;
        return true;
    }

    bool notNegative(RuleField field, const std::string& text, double& value) {
        return number(field, text, value) &&
               (value >= 0.0 || refuse(field, NumberWord(value) + " is negative"));
    }

    bool delay(RuleField field, const std::string& text, double& seconds) {
        return notNegative(field, text, seconds) &&
               (seconds <= kLongestDelaySeconds ||
                refuse(field, NumberWord(seconds) + " is longer than " +
                                  NumberWord(kLongestDelaySeconds) + " seconds"));
    }

    bool input(AlarmRule& rule) {
        const std::string word = Trimmed(fields_.input);
        if (const std::optional<int> channel = ChannelNameSlot(word)) {
            rule.input = AlarmRule::Input::Channel;
            rule.slot = *channel;
            return *channel < kUsedChannels ||
                   refuse(RuleField::Input, "there is no channel CH" + std::to_string(*channel) +
                                                "; channels are CH0 to CH" +
                                                std::to_string(kUsedChannels - 1));
        }
        if (const std::optional<int> line = LineNameSlot(word)) {
            rule.input = AlarmRule::Input::Line;
            rule.slot = *line;
            return *line < kUsedLines || refuse(RuleField::Input, NoLine(*line));
        }
        if (derived::IsIdentifier(word)) {
            rule.input = AlarmRule::Input::Derived;
            rule.derived = word;
            return true;
        }
        return refuse(RuleField::Input, NoInputText(word));
    }

    bool condition(AlarmRule& rule) {
        rule.condition = fields_.condition;
        const bool onLine = rule.input == AlarmRule::Input::Line;
        if (onLine != IsLineCondition(rule.condition)) {
            return refuse(RuleField::Condition,
                          onLine
                              ? LineName(rule.slot) + " is a line: on, off or changes"
                              : InputName(rule) + " is a channel: above, below, outside or inside");
        }
        switch (rule.condition) {
            case Condition::Above:
            case Condition::Below:
                return number(RuleField::Limit, fields_.limit, rule.limit);
            case Condition::Outside:
            case Condition::Inside:
                return number(RuleField::Low, fields_.low, rule.low) &&
                       number(RuleField::High, fields_.high, rule.high) &&
                       (rule.low <= rule.high ||
                        refuse(RuleField::Low, NumberWord(rule.low) + " is above the high end " +
                                                   NumberWord(rule.high)));
            default:
                return true;
        }
    }

    // A line is on or off: it has no deadband.
    bool hysteresis(AlarmRule& rule) {
        if (rule.input == AlarmRule::Input::Line) {
            return true;
        }
        if (!notNegative(RuleField::Hysteresis, fields_.hysteresis, rule.hysteresis)) {
            return false;
        }
        // Outside a band the alarm clears only inside the band narrowed at both ends.
        return rule.condition != Condition::Outside ||
               2.0 * rule.hysteresis <= rule.high - rule.low ||
               refuse(RuleField::Hysteresis,
                      NumberWord(rule.hysteresis) + " is more than half the band");
    }

    bool output(AlarmRule& rule, std::uint32_t outputLines) {
        if (fields_.output == OutputChoice::None) {
            return true;
        }
        const std::string word = Trimmed(fields_.outputLine);
        const std::optional<int> line = LineNameSlot(word);
        if (!line) {
            return refuse(RuleField::OutputLine, "\"" + word + "\" is not a line (D0 to D31)");
        }
        if (*line >= kUsedLines) {
            return refuse(RuleField::OutputLine, NoLine(*line));
        }
        rule.output = OutputAction{*line, fields_.output == OutputChoice::Set};
        return ((outputLines >> *line) & 1u) != 0 ||
               refuse(RuleField::OutputLine, LineName(*line) + " is set up as an input");
    }

  private:
    bool refuse(RuleField field, const std::string& why) {
        problem = Problem(field, why);
        return false;
    }

    const RuleFields& fields_;
};

}  // namespace

std::uint32_t OutputLines(const Slots<std::int16_t, kLineArraySize>& directions) {
    std::uint32_t lines = 0;
    for (int line = 0; line < kUsedLines; ++line) {
        if (directions[static_cast<std::size_t>(line)] != kLineInput) {
            lines |= 1u << line;
        }
    }
    return lines;
}

RuleFields FieldsOf(const AlarmRule& rule) {
    RuleFields fields;
    const bool onChannel = rule.input != AlarmRule::Input::Line;
    fields.input = InputName(rule);
    fields.condition = rule.condition;
    if (rule.condition == Condition::Above || rule.condition == Condition::Below) {
        fields.limit = NumberWord(rule.limit);
    } else if (onChannel) {
        fields.low = NumberWord(rule.low);
        fields.high = NumberWord(rule.high);
    }
    fields.level = rule.level;
    fields.hysteresis = NumberWord(rule.hysteresis);
    fields.onDelay = NumberWord(rule.onDelaySeconds);
    fields.offDelay = NumberWord(rule.offDelaySeconds);
    fields.latching = rule.latching;
    if (rule.output) {
        fields.output = rule.output->on ? OutputChoice::Set : OutputChoice::Clear;
        fields.outputLine = LineName(rule.output->line);
    }
    fields.beep = rule.beep;
    fields.notify = rule.notify;
    return fields;
}

std::variant<AlarmRule, FieldProblem> RuleOf(const RuleFields& fields, std::uint32_t outputLines) {
    AlarmRule rule;
    rule.level = fields.level;
    rule.latching = fields.latching;
    rule.beep = fields.beep;
    rule.notify = fields.notify;
    FieldsReader reader(fields);
    if (reader.input(rule) && reader.condition(rule) && reader.hysteresis(rule) &&
        reader.delay(RuleField::OnDelay, fields.onDelay, rule.onDelaySeconds) &&
        reader.delay(RuleField::OffDelay, fields.offDelay, rule.offDelaySeconds) &&
        reader.output(rule, outputLines)) {
        return rule;
    }
    return *reader.problem;
}

std::optional<std::string> AlarmSettingsProblem(const AlarmSettings& settings,
                                                std::uint32_t outputLines) {
    if (settings.rules.size() > kMaxRules) {
        return TooManyRulesMessage();
    }
    for (std::size_t index = 0; index < settings.rules.size(); ++index) {
        const AlarmRule& rule = settings.rules[index];
        if (rule.output && ((outputLines >> rule.output->line) & 1u) == 0) {
            return "Rule " + std::to_string(index + 1) + " (" + RuleText(rule) +
                   "): " + LineName(rule.output->line) +
                   " is set up as an input, so the alarm cannot switch it.";
        }
    }
    return std::nullopt;
}

std::vector<std::string> UnknownDerivedRules(const AlarmSettings& settings,
                                             const derived::DerivedSettings& derived) {
    std::vector<std::string> texts;
    for (std::size_t index = 0; index < settings.rules.size(); ++index) {
        const AlarmRule& rule = settings.rules[index];
        const auto named = [&](const derived::DerivedChannel& channel) {
            return channel.name == rule.derived;
        };
        if (rule.input == AlarmRule::Input::Derived &&
            std::none_of(derived.channels.begin(), derived.channels.end(), named)) {
            texts.push_back("Rule " + std::to_string(index + 1) + " (" + RuleText(rule) +
                            "): there is no derived channel " + rule.derived);
        }
    }
    return texts;
}

std::string TooManyRulesMessage() {
    return "A list holds at most " + std::to_string(kMaxRules) +
           " rules; remove one before adding another.";
}

}  // namespace vantrel::alarms
