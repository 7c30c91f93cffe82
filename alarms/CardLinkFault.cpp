#include "alarms/CardLinkFault.h"

#include "engine/CardView.h"

namespace vantrel::alarms {

LinkFault LinkFaultOf(const AcquisitionState& state, int card) {
    switch (CardOf(state, card).linkCondition()) {
        case LinkCondition::PortLost:
            return LinkFault::PortLost;
        case LinkCondition::NoAnswer:
            return LinkFault::NoAnswer;
        case LinkCondition::NoData:
            return LinkFault::NoData;
        default:
            return LinkFault::None;
    }
}

std::uint16_t ChannelsMarked(const AcquisitionState& state) {
    std::uint16_t channels = 0;
    for (int slot = 0; slot < kUsedChannels; ++slot) {
        if (state.PlotChannel[slot] || state.SaveChannel[slot]) {
            channels = static_cast<std::uint16_t>(channels | (1u << slot));
        }
    }
    return channels;
}

}  // namespace vantrel::alarms
