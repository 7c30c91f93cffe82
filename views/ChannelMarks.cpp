#include "views/ChannelMarks.h"

#include "alarms/AlarmListText.h"
#include "engine/CardView.h"

namespace vantrel {

ChannelMarks MarkChannels(const AcquisitionState& state, const alarms::AlarmSettings& settings,
                          const std::vector<alarms::ActiveAlarm>& active,
                          const LastFrames& lastFrames) {
    ChannelMarks marks{};
    for (int card = 0; card < 2; ++card) {
        const ConstCardView view = CardOf(state, card);
        // Stale frames count with the task stopped too: the values are then the
        // last ones the card sent, not a current reading.
        const bool live = view.linkCondition() == LinkCondition::Fine && !view.DataStale;
        for (int channel = 0; channel < kChannelsPerCard; ++channel) {
            ChannelMark& mark = marks[static_cast<std::size_t>(view.channelSlot(channel))];
            mark.live = live;
            mark.lastFrame = lastFrames[static_cast<std::size_t>(card)];
        }
    }
    for (const alarms::ActiveAlarm& alarm : active) {
        const std::optional<int> slot = alarms::AlarmChannel(alarm.id, settings);
        if (!slot || *slot < 0 || *slot >= kUsedChannels) {
            continue;
        }
        std::optional<alarms::AlarmLevel>& level = marks[static_cast<std::size_t>(*slot)].alarm;
        if (!level || alarm.level > *level) {
            level = alarm.level;
        }
    }
    return marks;
}

std::string NotLiveText(const ChannelMark& mark) {
    if (mark.live) {
        return {};
    }
    if (!mark.lastFrame) {
        return "Not live: no frame received";
    }
    return "Not live: last frame at " + alarms::ShownTime(*mark.lastFrame);
}

}  // namespace vantrel
