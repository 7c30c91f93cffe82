#include "alarms/AlarmEvaluator.h"

#include <algorithm>
#include <cmath>

#include "alarms/FaultTexts.h"
#include "alarms/RuleText.h"
#include "engine/CardView.h"
#include "platform/DateTimeText.h"

namespace vantrel::alarms {

namespace {

struct ChannelFault {
    AlarmKind kind;
    FaultCheck check;
};
constexpr std::array<ChannelFault, 5> kChannelFaults = {{
    {AlarmKind::LoopLow, FaultCheck::Loop},
    {AlarmKind::LoopHigh, FaultCheck::Loop},
    {AlarmKind::BelowTable, FaultCheck::Sensor},
    {AlarmKind::AboveTable, FaultCheck::Sensor},
    {AlarmKind::ConversionFailed, FaultCheck::Conversion},
}};
constexpr std::size_t kLoopLow = 0;
constexpr std::size_t kLoopHigh = 1;
constexpr std::size_t kBelowTable = 2;
constexpr std::size_t kAboveTable = 3;
constexpr std::size_t kConversionFailed = 4;

// Built-in faults say the reading cannot be trusted at all.
constexpr AlarmLevel kFaultLevel = AlarmLevel::Critical;

std::uint16_t CardChannels(int card) {
    return static_cast<std::uint16_t>(0xFFu << ChannelSlot(card, 0));
}

std::uint16_t Bit(int slot) {
    return static_cast<std::uint16_t>(1u << slot);
}

void SetBit(std::uint16_t& bits, int slot, bool on) {
    bits = static_cast<std::uint16_t>(on ? bits | Bit(slot) : bits & ~Bit(slot));
}

AlarmKind LinkAlarmKind(LinkFault fault) {
    switch (fault) {
        case LinkFault::NoAnswer:
            return AlarmKind::NoAnswer;
        case LinkFault::NoData:
            return AlarmKind::NoData;
        default:
            return AlarmKind::PortLost;
    }
}

std::int64_t DelayMs(double seconds) {
    return std::llround(std::clamp(seconds, 0.0, kLongestDelaySeconds) * 1000.0);
}

// Whether a channel rule's condition holds for value. Once raised, the value must
// come back past the limit by the hysteresis for the condition to be gone.
bool ChannelConditionHolds(const AlarmRule& rule, double value, bool raised) {
    const double back = raised ? rule.hysteresis : 0.0;
    switch (rule.condition) {
        case Condition::Above:
            return value > rule.limit - back;
        case Condition::Below:
            return value < rule.limit + back;
        case Condition::Outside:
            return value < rule.low + back || value > rule.high - back;
        case Condition::Inside:
            return value >= rule.low - back && value <= rule.high + back;
        default:
            return false;
    }
}

// Rules past the 64th, or on a channel or line that does not exist, are never
// judged (the settings reader lets none through).
bool IsJudged(const AlarmRule& rule, std::size_t index) {
    const int slots = rule.input == AlarmRule::Input::Channel ? kUsedChannels : kUsedLines;
    return index < kMaxRules && rule.slot >= 0 && rule.slot < slots;
}

}  // namespace

AlarmEvaluator::AlarmEvaluator(const AlarmSettings& settings) {
    rules_.resize(settings.rules.size());
    useSettings(settings);
    watchChannels({});
}

void AlarmEvaluator::useSettings(const AlarmSettings& settings) {
    settings_ = settings;
    for (auto& rules : channelRules_) {
        rules.clear();
    }
    for (auto& rules : lineRules_) {
        rules.clear();
    }
    derivedRules_.clear();
    for (std::size_t index = 0; index < settings_.rules.size(); ++index) {
        const AlarmRule& rule = settings_.rules[index];
        rules_[index].onDelayMs = DelayMs(rule.onDelaySeconds);
        rules_[index].offDelayMs = DelayMs(rule.offDelaySeconds);
        if (rule.input == AlarmRule::Input::Derived) {
            const auto found = std::find(derivedNames_.begin(), derivedNames_.end(), rule.derived);
            const auto place = static_cast<std::size_t>(found - derivedNames_.begin());
            if (index < kMaxRules && place < kDerivedSlots && found != derivedNames_.end()) {
                derivedRules_.emplace_back(static_cast<std::uint8_t>(index),
                                           static_cast<std::uint8_t>(place));
            }
            continue;
        }
        if (!IsJudged(rule, index)) {
            continue;
        }
        const auto kept = static_cast<std::uint8_t>(index);
        if (rule.input == AlarmRule::Input::Channel) {
            channelRules_[static_cast<std::size_t>(CardOfChannelSlot(rule.slot))].push_back(kept);
        } else {
            lineRules_[static_cast<std::size_t>(rule.slot / kLinesPerCard)].push_back(kept);
        }
    }
}

AlarmEvaluator::Events AlarmEvaluator::setSettings(const AlarmSettings& settings,
                                                   const platform::DateTime& at) {
    events_.clear();
    const std::vector<AlarmRule>& before = settings_.rules;
    std::vector<int> movedTo(before.size(), -1);
    std::vector<RuleState> states(settings.rules.size());
    for (std::size_t now = 0; now < settings.rules.size(); ++now) {
        for (std::size_t was = 0; was < before.size(); ++was) {
            if (movedTo[was] < 0 && before[was] == settings.rules[now]) {
                movedTo[was] = static_cast<int>(now);
                states[now] = rules_[was];
                break;
            }
        }
    }
    // Cleared under their old places, then the others renumbered in one pass, so
    // that no alarm is looked up while two share a number.
    for (std::size_t was = 0; was < before.size(); ++was) {
        if (movedTo[was] < 0 && find({AlarmKind::Rule, static_cast<int>(was)}) != nullptr) {
            clear({AlarmKind::Rule, static_cast<int>(was)}, at, std::nullopt);
        }
    }
    for (ActiveAlarm& alarm : active_) {
        if (alarm.id.kind == AlarmKind::Rule) {
            alarm.id.index = movedTo[static_cast<std::size_t>(alarm.id.index)];
        }
    }
    rules_ = std::move(states);
    useSettings(settings);
    watchChannels(at);
    return handOut();
}

AlarmEvaluator::Events AlarmEvaluator::setChannelsMarked(std::uint16_t channels,
                                                         const platform::DateTime& at) {
    events_.clear();
    marked_ = channels;
    watchChannels(at);
    return handOut();
}

AlarmEvaluator::Events AlarmEvaluator::setDerivedNames(std::vector<std::string> names,
                                                       const platform::DateTime& at) {
    events_.clear();
    derivedNames_ = std::move(names);
    useSettings(settings_);
    for (std::size_t index = 0; index < settings_.rules.size(); ++index) {
        const bool judged = std::any_of(derivedRules_.begin(), derivedRules_.end(),
                                        [&](const auto& rule) { return rule.first == index; });
        if (settings_.rules[index].input == AlarmRule::Input::Derived && !judged) {
            // Its channel is gone: the alarm can no longer come or go by itself.
            rules_[index] = {};
            rules_[index].onDelayMs = DelayMs(settings_.rules[index].onDelaySeconds);
            rules_[index].offDelayMs = DelayMs(settings_.rules[index].offDelaySeconds);
            clear({AlarmKind::Rule, static_cast<int>(index)}, at, std::nullopt);
        }
    }
    return handOut();
}

void AlarmEvaluator::watchChannels(const platform::DateTime& at) {
    std::uint16_t inUse = marked_;
    for (const auto& rules : channelRules_) {
        for (const std::uint8_t index : rules) {
            inUse = static_cast<std::uint16_t>(inUse | Bit(settings_.rules[index].slot));
        }
    }
    for (std::size_t check = 0; check < kFaultChecks; ++check) {
        watched_[check] = static_cast<std::uint16_t>(inUse & ~settings_.faultsOff[check]);
    }
    for (std::size_t kind = 0; kind < kChannelFaults.size(); ++kind) {
        const auto check = static_cast<std::size_t>(kChannelFaults[kind].check);
        for (int slot = 0; slot < kUsedChannels; ++slot) {
            if ((raisedFaults_[kind] & ~watched_[check] & Bit(slot)) != 0) {
                SetBit(raisedFaults_[kind], slot, false);
                clear({kChannelFaults[kind].kind, slot}, at, std::nullopt);
            }
        }
    }
    settleLink(0, at);
    settleLink(1, at);
}

AlarmEvaluator::Events AlarmEvaluator::onFrame(const ConvertedFrame& frame) {
    events_.clear();
    const int card = CardIndex(frame.card);
    const std::int64_t nowMs = platform::UtcMilliseconds(frame.convertedAt);
    for (const std::uint8_t index : channelRules_[static_cast<std::size_t>(card)]) {
        const AlarmRule& rule = settings_.rules[index];
        const std::optional<double>& value =
            frame.scaled[static_cast<std::size_t>(ChannelOfSlot(rule.slot))];
        if (!value) {
            continue;
        }
        const bool holds = ChannelConditionHolds(rule, *value, rules_[index].debounce.asserted());
        judgeRule(index, holds, *value, nowMs, frame.convertedAt);
    }
    for (const auto& [index, place] : derivedRules_) {
        const std::optional<double>& value = frame.derived[place];
        if (!value) {
            continue;
        }
        const AlarmRule& rule = settings_.rules[index];
        const bool holds = ChannelConditionHolds(rule, *value, rules_[index].debounce.asserted());
        judgeRule(index, holds, *value, nowMs, frame.convertedAt);
    }
    judgeChannelFaults(frame);
    return handOut();
}

AlarmEvaluator::Events AlarmEvaluator::onFrame(const DigitalFrame& frame) {
    events_.clear();
    const auto card = static_cast<std::size_t>(CardIndex(frame.card));
    const std::int64_t nowMs = platform::UtcMilliseconds(frame.receivedAt);
    for (const std::uint8_t index : lineRules_[card]) {
        const AlarmRule& rule = settings_.rules[index];
        const int line = rule.slot % kLinesPerCard;
        const bool on = ((frame.inputs >> line) & 1u) != 0;
        const bool was = ((lastInputs_[card] >> line) & 1u) != 0;
        const bool holds = rule.condition == Condition::IsOn    ? on
                           : rule.condition == Condition::IsOff ? !on
                                                                : inputsKnown_[card] && on != was;
        judgeRule(index, holds, on ? 1.0 : 0.0, nowMs, frame.receivedAt);
    }
    lastInputs_[card] = frame.inputs;
    inputsKnown_[card] = true;
    return handOut();
}

void AlarmEvaluator::judgeRule(std::size_t index, bool holds, double value, std::int64_t nowMs,
                               const platform::DateTime& at) {
    RuleState& state = rules_[index];
    if (!state.debounce.step(holds, nowMs, state.onDelayMs, state.offDelayMs)) {
        return;
    }
    const AlarmRule& rule = settings_.rules[index];
    const AlarmId id{AlarmKind::Rule, static_cast<int>(index)};
    ActiveAlarm* alarm = find(id);
    if (state.debounce.asserted()) {
        if (alarm != nullptr) {
            alarm->conditionHolds = true;  // latched, and back before anyone acknowledged it
        } else {
            raise(id, rule.level, InputName(rule), ConditionText(rule), at, value);
        }
    } else if (alarm != nullptr) {
        if (rule.latching && !alarm->acknowledged) {
            alarm->conditionHolds = false;
        } else {
            clear(id, at, value);
        }
    }
}

void AlarmEvaluator::judgeChannelFaults(const ConvertedFrame& frame) {
    const int base = ChannelSlot(frame.card, 0);
    // A channel that did not convert keeps its loop and sensor faults as they were.
    std::array<std::uint16_t, kChannelFaultKinds> now = raisedFaults_;
    for (int channel = 0; channel < kChannelsPerCard; ++channel) {
        const auto c = static_cast<std::size_t>(channel);
        const int slot = base + channel;
        SetBit(now[kConversionFailed], slot, !frame.values[c]);
        if (!frame.values[c]) {
            continue;
        }
        const std::optional<double>& milliamps = frame.loopMilliamps[c];
        SetBit(now[kLoopLow], slot, milliamps && *milliamps < kLoopLowMilliamps);
        SetBit(now[kLoopHigh], slot, milliamps && *milliamps > kLoopHighMilliamps);
        SetBit(now[kBelowTable], slot, frame.tableReadings[c] == TableReading::Below);
        SetBit(now[kAboveTable], slot, frame.tableReadings[c] == TableReading::Above);
    }
    const std::uint16_t cardChannels = CardChannels(frame.card);
    for (std::size_t kind = 0; kind < kChannelFaultKinds; ++kind) {
        const auto check = static_cast<std::size_t>(kChannelFaults[kind].check);
        const auto changed = static_cast<std::uint16_t>((now[kind] ^ raisedFaults_[kind]) &
                                                        watched_[check] & cardChannels);
        for (int slot = base; changed != 0 && slot < base + kChannelsPerCard; ++slot) {
            if ((changed & Bit(slot)) != 0) {
                setChannelFault(kind, slot, (now[kind] & Bit(slot)) != 0, frame);
            }
        }
    }
}

void AlarmEvaluator::setChannelFault(std::size_t kind, int slot, bool raised,
                                     const ConvertedFrame& frame) {
    SetBit(raisedFaults_[kind], slot, raised);
    const AlarmId id{kChannelFaults[kind].kind, slot};
    const auto c = static_cast<std::size_t>(ChannelOfSlot(slot));
    std::optional<double> reading;
    if (kind == kLoopLow || kind == kLoopHigh) {
        reading = frame.loopMilliamps[c];
    } else if (frame.values[c]) {
        reading = *frame.values[c];
    }
    if (!raised) {
        clear(id, frame.convertedAt, reading);
        return;
    }
    std::string text = FaultText(id.kind);
    if (kind == kConversionFailed && frame.failure) {
        text = ConversionFaultText(*frame.failure, slot);
    }
    raise(id, kFaultLevel, ChannelName(slot), std::move(text), frame.convertedAt, reading);
}

AlarmEvaluator::Events AlarmEvaluator::onLinkFault(int card, LinkFault fault,
                                                   const platform::DateTime& at) {
    events_.clear();
    linkFaults_[static_cast<std::size_t>(CardIndex(card))] = fault;
    settleLink(CardIndex(card), at);
    return handOut();
}

void AlarmEvaluator::settleLink(int card, const platform::DateTime& at) {
    const auto c = static_cast<std::size_t>(card);
    const bool watched =
        (watched_[static_cast<std::size_t>(FaultCheck::Link)] & CardChannels(card)) != 0 ||
        !lineRules_[c].empty();
    const LinkFault wanted = watched ? linkFaults_[c] : LinkFault::None;
    if (wanted == raisedLinkFaults_[c]) {
        return;
    }
    if (raisedLinkFaults_[c] != LinkFault::None) {
        clear({LinkAlarmKind(raisedLinkFaults_[c]), card}, at, std::nullopt);
    }
    raisedLinkFaults_[c] = wanted;
    if (wanted != LinkFault::None) {
        const AlarmKind kind = LinkAlarmKind(wanted);
        raise({kind, card}, kFaultLevel, CardName(card), FaultText(kind), at, std::nullopt);
    }
}

AlarmEvaluator::Events AlarmEvaluator::acknowledge(const AlarmId& id,
                                                   const platform::DateTime& at) {
    events_.clear();
    ActiveAlarm* alarm = find(id);
    if (alarm == nullptr || alarm->acknowledged) {
        return handOut();
    }
    alarm->acknowledged = true;
    record(AlarmEvent::Kind::Acknowledged, *alarm, at, std::nullopt);
    if (!alarm->conditionHolds) {
        clear(id, at, std::nullopt);
    }
    return handOut();
}

AlarmEvaluator::Events AlarmEvaluator::acknowledgeAll(const platform::DateTime& at) {
    std::vector<AlarmEvent> all;
    std::vector<AlarmId> waiting;
    for (const ActiveAlarm& alarm : active_) {
        if (!alarm.acknowledged) {
            waiting.push_back(alarm.id);
        }
    }
    for (const AlarmId& id : waiting) {
        const Events events = acknowledge(id, at);
        all.insert(all.end(), events.begin(), events.end());
    }
    events_ = std::move(all);
    return handOut();
}

void AlarmEvaluator::raise(const AlarmId& id, AlarmLevel level, std::string subject,
                           std::string text, const platform::DateTime& at,
                           std::optional<double> value) {
    ActiveAlarm alarm{.id = id,
                      .level = level,
                      .subject = std::move(subject),
                      .text = std::move(text),
                      .raisedAt = at,
                      .valueAtRaise = value,
                      .sequence = nextSequence_++};
    record(AlarmEvent::Kind::Raised, alarm, at, value);
    // The newest goes before every other of its level and after every more severe.
    const auto place = std::find_if(active_.begin(), active_.end(),
                                    [&](const ActiveAlarm& other) { return other.level <= level; });
    active_.insert(place, std::move(alarm));
}

void AlarmEvaluator::clear(const AlarmId& id, const platform::DateTime& at,
                           std::optional<double> value) {
    const auto found = std::find_if(active_.begin(), active_.end(),
                                    [&](const ActiveAlarm& alarm) { return alarm.id == id; });
    if (found == active_.end()) {
        return;
    }
    record(AlarmEvent::Kind::Cleared, *found, at, value);
    active_.erase(found);
}

void AlarmEvaluator::record(AlarmEvent::Kind kind, const ActiveAlarm& alarm,
                            const platform::DateTime& at, std::optional<double> value) {
    events_.push_back({.kind = kind,
                       .id = alarm.id,
                       .level = alarm.level,
                       .subject = alarm.subject,
                       .text = alarm.text,
                       .at = at,
                       .value = value});
}

ActiveAlarm* AlarmEvaluator::find(const AlarmId& id) {
    const auto found = std::find_if(active_.begin(), active_.end(),
                                    [&](const ActiveAlarm& alarm) { return alarm.id == id; });
    return found == active_.end() ? nullptr : &*found;
}

}  // namespace vantrel::alarms
