#pragma once

// How the live views mark each channel's value: in alarm (and at which level),
// and whether it is live at all. A value whose card is lost, does not answer or
// sends no frames is an old one, shown with the time of the card's last frame.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "alarms/Alarm.h"
#include "engine/AcquisitionState.h"
#include "platform/Clock.h"

namespace vantrel {

struct ChannelMark {
    // The worst active alarm on the channel.
    std::optional<alarms::AlarmLevel> alarm;
    bool live = true;
    // The card's last frame, when it has sent one.
    std::optional<platform::DateTime> lastFrame;
};
using ChannelMarks = std::array<ChannelMark, kUsedChannels>;

// By card (0 for card 1): when its last analog frame came.
using LastFrames = std::array<std::optional<platform::DateTime>, 2>;

ChannelMarks MarkChannels(const AcquisitionState& state, const alarms::AlarmSettings& settings,
                          const std::vector<alarms::ActiveAlarm>& active,
                          const LastFrames& lastFrames);

// The tool tip of a value that is not live: "Not live: last frame at
// 2026-12-06 14:05:09", or "Not live: no frame received"; empty for a live one.
std::string NotLiveText(const ChannelMark& mark);

}  // namespace vantrel
