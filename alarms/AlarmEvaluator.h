#pragma once

// Judges every frame of both cards, and every change of a card's link, against
// the rules and the built-in faults, and keeps the set of active alarms. It is fed
// the frames the links hand out (with the clock reading they carry) whether or not
// anything is logged or shown, and hands back what changed as events.
//
// A channel's rule compares its levels with the value the user reads (through the
// channel's scale); a derived channel's rule is judged on every analog frame of
// either card. A value that did not convert neither raises nor clears a level
// alarm, nor moves its delays on: it raises the channel's conversion fault
// instead; a derived channel with no value for a frame is passed over alike. A card whose
// frames stopped leaves its channels' alarms as they were; its link fault says so.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "alarms/Alarm.h"
#include "alarms/AlarmRule.h"
#include "alarms/CardLinkFault.h"
#include "alarms/Debounce.h"
#include "engine/CardFrames.h"
#include "platform/Clock.h"

namespace vantrel::alarms {

class AlarmEvaluator {
  public:
    // What a call changed, in order; valid until the next call.
    using Events = std::span<const AlarmEvent>;

    explicit AlarmEvaluator(const AlarmSettings& settings = {});

    // A rule that is still there as it was keeps its state and its alarm; the
    // alarms of rules gone, and of faults no longer watched, are cleared.
    Events setSettings(const AlarmSettings& settings, const platform::DateTime& at);
    // The channels marked for the trend or the log (ChannelsMarked): with the
    // channels of the rules, those whose built-in faults are watched.
    Events setChannelsMarked(std::uint16_t channels, const platform::DateTime& at);
    // The derived channels in the order of the values a frame carries. A rule on
    // a name not among them is not judged, and its alarm is cleared.
    Events setDerivedNames(std::vector<std::string> names, const platform::DateTime& at);

    Events onFrame(const ConvertedFrame& frame);
    Events onFrame(const DigitalFrame& frame);
    // card: 0 is card 1, 1 card 2.
    Events onLinkFault(int card, LinkFault fault, const platform::DateTime& at);

    // A latched alarm whose condition has gone is cleared by it; any other stays
    // active, acknowledged.
    Events acknowledge(const AlarmId& id, const platform::DateTime& at);
    Events acknowledgeAll(const platform::DateTime& at);

    // Critical before warning, the newest first within each.
    const std::vector<ActiveAlarm>& active() const { return active_; }
    const AlarmSettings& settings() const { return settings_; }

  private:
    struct RuleState {
        Debounce debounce;
        std::int64_t onDelayMs = 0;
        std::int64_t offDelayMs = 0;
    };
    // The built-in faults kept per channel.
    static constexpr std::size_t kChannelFaultKinds = 5;

    void useSettings(const AlarmSettings& settings);
    void watchChannels(const platform::DateTime& at);
    void judgeRule(std::size_t index, bool holds, double value, std::int64_t nowMs,
                   const platform::DateTime& at);
    void judgeChannelFaults(const ConvertedFrame& frame);
    void setChannelFault(std::size_t kind, int slot, bool raised, const ConvertedFrame& frame);
    void settleLink(int card, const platform::DateTime& at);

    void raise(const AlarmId& id, AlarmLevel level, std::string subject, std::string text,
               const platform::DateTime& at, std::optional<double> value);
    void clear(const AlarmId& id, const platform::DateTime& at, std::optional<double> value);
    void record(AlarmEvent::Kind kind, const ActiveAlarm& alarm, const platform::DateTime& at,
                std::optional<double> value);
    ActiveAlarm* find(const AlarmId& id);
    Events handOut() const { return events_; }

    AlarmSettings settings_;
    std::vector<RuleState> rules_;
    // By card, the rules on its channels and on its lines.
    std::array<std::vector<std::uint8_t>, 2> channelRules_;
    std::array<std::vector<std::uint8_t>, 2> lineRules_;
    std::vector<std::string> derivedNames_;
    // The rules on derived channels, with the place of their channel's value.
    std::vector<std::pair<std::uint8_t, std::uint8_t>> derivedRules_;
    std::uint16_t marked_ = 0;
    // By FaultCheck, the channels it watches now.
    std::array<std::uint16_t, kFaultChecks> watched_{};
    // By built-in channel fault, the channels it is raised for.
    std::array<std::uint16_t, kChannelFaultKinds> raisedFaults_{};
    std::array<LinkFault, 2> linkFaults_{};
    std::array<LinkFault, 2> raisedLinkFaults_{};
    std::array<std::uint16_t, 2> lastInputs_{};
    std::array<bool, 2> inputsKnown_{};

    std::vector<ActiveAlarm> active_;
    std::vector<AlarmEvent> events_;
    std::uint64_t nextSequence_ = 0;
};

}  // namespace vantrel::alarms
