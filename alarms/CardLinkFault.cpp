#include "alarms/CardLinkFault.h"

#include "engine/CardView.h"

namespace vantrel::alarms {

LinkFault LinkFaultOf(const AcquisitionState& state, int card) {
    const ConstCardView flags = CardOf(state, card);
    if (!flags.PortOpen) {
        return LinkFault::None;
    }
    if (flags.PortLost) {
        return LinkFault::PortLost;
    }
    if (!flags.CardConnected) {
        return LinkFault::None;
    }
    if (flags.AwaitingAnswer) {
        return LinkFault::NoAnswer;
    }
    return flags.valuesStale() ? LinkFault::NoData : LinkFault::None;
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
