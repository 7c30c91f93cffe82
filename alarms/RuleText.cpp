#include "alarms/RuleText.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "derived/DerivedChannel.h"
#include "engine/AcquisitionState.h"

namespace vantrel::alarms {

namespace {

constexpr std::string_view kChannelPrefix = "CH";
constexpr std::string_view kLinePrefix = "D";
// Words are compared in lower case.
constexpr std::array<std::string_view, 7> kConditionWords = {"above", "below", "outside", "inside",
                                                             "on",    "off",   "changes"};

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && blank(text[at])) {
            ++at;
        }
        std::size_t end = at;
        while (end < text.size() && !blank(text[end])) {
            ++end;
        }
        if (end > at) {
            words.push_back(text.substr(at, end - at));
        }
        at = end;
    }
    return words;
}

std::string Lowered(std::string_view word) {
    std::string lowered(word);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

std::string Quoted(std::string_view word) {
    return "\"" + std::string(word) + "\"";
}

std::optional<double> Number(std::string_view word) {
    if (word.starts_with('+') && !word.starts_with("+-")) {
        word.remove_prefix(1);
    }
    double value = 0.0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (word.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string NumberText(double value) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return {text.data(), result.ptr};
}

// The number after a prefix ("CH12", "d3"), however many slots there are.
std::optional<int> SlotNumber(std::string_view word, std::string_view prefix) {
    if (word.size() <= prefix.size() || Lowered(word.substr(0, prefix.size())) != Lowered(prefix)) {
        return std::nullopt;
    }
    const std::string_view digits = word.substr(prefix.size());
    if (std::isdigit(static_cast<unsigned char>(digits.front())) == 0) {
        return std::nullopt;
    }
    int number = 0;
    const auto [stop, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error == std::errc::result_out_of_range) {
        return std::numeric_limits<int>::max();
    }
    if (error != std::errc() || stop != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return number;
}

std::string NoChannel(int number) {
    return "there is no channel CH" + std::to_string(number) + "; channels are CH0 to CH" +
           std::to_string(kUsedChannels - 1);
}

std::string NoLine(int number) {
    return "there is no line D" + std::to_string(number) + "; lines are D0 to D" +
           std::to_string(kUsedLines - 1);
}

class RuleReader {
  public:
    explicit RuleReader(std::string_view text) : words_(Words(text)) {}

    std::variant<AlarmRule, std::string> read() {
        if (input() && condition()) {
            while (at_ < words_.size() && option()) {
            }
        }
        if (!why_.empty()) {
            return why_;
        }
        return rule_;
    }

  private:
    bool refuse(std::string why) {
        why_ = std::move(why);
        return false;
    }

    std::optional<std::string_view> next() {
        if (at_ == words_.size()) {
            return std::nullopt;
        }
        return words_[at_++];
    }

    // The number after `after`, into value.
    bool number(std::string_view after, double& value) {
        const auto word = next();
        if (!word) {
            return refuse("a number is missing after " + std::string(after));
        }
        const auto read = Number(*word);
        if (!read) {
            return refuse(std::string(*word) + " is not a number");
        }
        value = *read;
        return true;
    }

    bool input() {
        const auto word = next();
        if (!word) {
            return refuse("no channel or line");
        }
        if (const auto channel = SlotNumber(*word, kChannelPrefix)) {
            rule_.input = AlarmRule::Input::Channel;
            rule_.slot = *channel;
            return *channel < kUsedChannels || refuse(NoChannel(*channel));
        }
        if (const auto line = SlotNumber(*word, kLinePrefix)) {
            rule_.input = AlarmRule::Input::Line;
            rule_.slot = *line;
            return *line < kUsedLines || refuse(NoLine(*line));
        }
        if (derived::IsIdentifier(*word)) {
            rule_.input = AlarmRule::Input::Derived;
            rule_.derived = std::string(*word);
            return true;
        }
        return refuse(NoInputText(*word));
    }

    bool condition() {
        const auto word = next();
        const std::string name = InputName(rule_);
        if (!word) {
            return refuse("no condition after " + name);
        }
        const std::string lowered = Lowered(*word);
        const auto found = std::find(kConditionWords.begin(), kConditionWords.end(), lowered);
        if (found == kConditionWords.end()) {
            return refuse(Quoted(*word) +
                          " is not a condition (above, below, outside, inside, on, off or "
                          "changes)");
        }
        static constexpr std::array<Condition, kConditionWords.size()> kConditions = {
            Condition::Above, Condition::Below, Condition::Outside, Condition::Inside,
            Condition::IsOn,  Condition::IsOff, Condition::Changes};
        rule_.condition = kConditions[static_cast<std::size_t>(found - kConditionWords.begin())];
        const bool onLine = rule_.input == AlarmRule::Input::Line;
        if (onLine != IsLineCondition(rule_.condition)) {
            return refuse(onLine ? name + " is a line: on, off or changes"
                                 : name + " is a channel: above, below, outside or inside");
        }
        switch (rule_.condition) {
            case Condition::Above:
            case Condition::Below:
                return number(lowered, rule_.limit);
            case Condition::Outside:
            case Condition::Inside:
                return band(lowered);
            default:
                return true;
        }
    }

    bool band(const std::string& after) {
        if (!number(after, rule_.low)) {
            return false;
        }
        std::string beforeHigh = "the band's low end";
        if (at_ < words_.size() && Lowered(words_[at_]) == "to") {
            ++at_;
            beforeHigh = "to";
        }
        if (!number(beforeHigh, rule_.high)) {
            return false;
        }
        return rule_.low <= rule_.high ||
               refuse("the band's low end " + NumberText(rule_.low) + " is above its high end " +
                      NumberText(rule_.high));
    }

    bool delay(std::string_view name, double& seconds) {
        if (!number(name, seconds)) {
            return false;
        }
        if (seconds < 0.0) {
            return refuse("the " + std::string(name) + " " + NumberText(seconds) + " is negative");
        }
        return seconds <= kLongestDelaySeconds ||
               refuse("the " + std::string(name) + " " + NumberText(seconds) + " is longer than " +
                      NumberText(kLongestDelaySeconds) + " seconds");
    }

    bool hysteresis() {
        if (rule_.input == AlarmRule::Input::Line) {
            return refuse("a line has no hysteresis");
        }
        if (!number("hysteresis", rule_.hysteresis)) {
            return false;
        }
        if (rule_.hysteresis < 0.0) {
            return refuse("the hysteresis " + NumberText(rule_.hysteresis) + " is negative");
        }
        // Outside a band the alarm clears only inside the band narrowed by the
        // hysteresis at both ends.
        return rule_.condition != Condition::Outside ||
               2.0 * rule_.hysteresis <= rule_.high - rule_.low ||
               refuse("the hysteresis " + NumberText(rule_.hysteresis) +
                      " is more than half the band");
    }

    bool output(bool on) {
        if (rule_.output) {
            return refuse("a rule sets one output line");
        }
        const auto word = next();
        if (!word) {
            return refuse("an output line is missing after " + std::string(on ? "set" : "clear"));
        }
        const auto line = SlotNumber(*word, kLinePrefix);
        if (!line) {
            return refuse(Quoted(*word) + " is not a line (D0 to D31)");
        }
        if (*line >= kUsedLines) {
            return refuse(NoLine(*line));
        }
        rule_.output = OutputAction{*line, on};
        return true;
    }

    bool option() {
        const std::string_view word = *next();
        const std::string lowered = Lowered(word);
        if (lowered == "warning" || lowered == "critical") {
            rule_.level = lowered == "critical" ? AlarmLevel::Critical : AlarmLevel::Warning;
            return true;
        }
        if (lowered == "hysteresis") {
            return hysteresis();
        }
        if (lowered == "on-delay") {
            return delay(lowered, rule_.onDelaySeconds);
        }
        if (lowered == "off-delay") {
            return delay(lowered, rule_.offDelaySeconds);
        }
        if (lowered == "set" || lowered == "clear") {
            return output(lowered == "set");
        }
        if (lowered == "latching" || lowered == "beep" || lowered == "notify") {
            (lowered == "latching" ? rule_.latching
             : lowered == "beep"   ? rule_.beep
                                   : rule_.notify) = true;
            return true;
        }
        return refuse("unknown word " + Quoted(word));
    }

    std::vector<std::string_view> words_;
    std::size_t at_ = 0;
    AlarmRule rule_;
    std::string why_;
};

}  // namespace

std::variant<AlarmRule, std::string> ParseRule(std::string_view text) {
    return RuleReader(text).read();
}

std::string ChannelName(int slot) {
    return std::string(kChannelPrefix) + std::to_string(slot);
}

std::string LineName(int slot) {
    return std::string(kLinePrefix) + std::to_string(slot);
}

std::string InputName(const AlarmRule& rule) {
    switch (rule.input) {
        case AlarmRule::Input::Line:
            return LineName(rule.slot);
        case AlarmRule::Input::Derived:
            return rule.derived;
        default:
            return ChannelName(rule.slot);
    }
}

std::string ConditionText(const AlarmRule& rule) {
    if (rule.input == AlarmRule::Input::Line) {
        const char* word = rule.condition == Condition::IsOn    ? " on"
                           : rule.condition == Condition::IsOff ? " off"
                                                                : " changes";
        return LineName(rule.slot) + word;
    }
    const std::string name = InputName(rule);
    switch (rule.condition) {
        case Condition::Above:
            return name + " above " + NumberText(rule.limit);
        case Condition::Below:
            return name + " below " + NumberText(rule.limit);
        case Condition::Outside:
        case Condition::Inside:
            return name + (rule.condition == Condition::Outside ? " outside " : " inside ") +
                   NumberText(rule.low) + " to " + NumberText(rule.high);
        default:
            return name;
    }
}

std::string RuleText(const AlarmRule& rule) {
    std::string text = ConditionText(rule);
    text += rule.level == AlarmLevel::Critical ? " critical" : " warning";
    if (rule.hysteresis != 0.0) {
        text += " hysteresis " + NumberText(rule.hysteresis);
    }
    if (rule.onDelaySeconds != 0.0) {
        text += " on-delay " + NumberText(rule.onDelaySeconds);
    }
    if (rule.offDelaySeconds != 0.0) {
        text += " off-delay " + NumberText(rule.offDelaySeconds);
    }
    if (rule.latching) {
        text += " latching";
    }
    if (rule.output) {
        text += (rule.output->on ? " set " : " clear ") + LineName(rule.output->line);
    }
    if (rule.beep) {
        text += " beep";
    }
    if (rule.notify) {
        text += " notify";
    }
    return text;
}

ChannelList ParseChannelList(std::string_view text) {
    // A list needs no decimal commas, so a comma between channels is taken too.
    std::string blanked(text);
    std::replace(blanked.begin(), blanked.end(), ',', ' ');
    ChannelList list;
    for (const std::string_view word : Words(blanked)) {
        const auto channel = SlotNumber(word, kChannelPrefix);
        if (channel && *channel < kUsedChannels) {
            list.channels = static_cast<std::uint16_t>(list.channels | (1u << *channel));
        } else if (list.why.empty()) {
            list.why =
                channel ? NoChannel(*channel) : Quoted(word) + " is not a channel (CH0 to CH15)";
        }
    }
    return list;
}

std::string ChannelListText(std::uint16_t channels) {
    std::string text;
    for (int slot = 0; slot < kUsedChannels; ++slot) {
        if ((channels >> slot) & 1u) {
            text += (text.empty() ? "" : " ") + ChannelName(slot);
        }
    }
    return text;
}

std::optional<double> ReadNumber(std::string_view word) {
    return Number(word);
}

std::string NumberWord(double value) {
    return NumberText(value);
}

std::optional<int> ChannelNameSlot(std::string_view word) {
    return SlotNumber(word, kChannelPrefix);
}

std::optional<int> LineNameSlot(std::string_view word) {
    return SlotNumber(word, kLinePrefix);
}

std::string NoInputText(std::string_view word) {
    return Quoted(word) +
           " is neither a channel (CH0 to CH15), a line (D0 to D31) nor a derived channel's name";
}

}  // namespace vantrel::alarms
