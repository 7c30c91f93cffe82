#pragma once

// One card's fields of the shared state, picked in one place. The state keeps
// card 1 and card 2 in separately named fields (ComPort1, ComPort2, ...) and in the
// first and second half of the per-slot tables; everything that works on "this
// card" goes through a view instead of choosing between the two names itself.

#include <cstddef>
#include <string>
#include <type_traits>

#include "engine/AcquisitionState.h"

namespace vantrel {

// A card's frames are judged by their length, CR included.
inline constexpr std::size_t kAnalogFrameLength = 62;
inline constexpr std::size_t kDigitalFrameLength = 9;

// Card selector: 0 is card 1, any other value card 2.
constexpr int CardIndex(int card) {
    return card == 0 ? 0 : 1;
}

// Where a card's channel c and line d sit in the per-slot tables: card 1 owns the
// first eight channel slots and sixteen line slots, card 2 the next ones. The one
// home of this arithmetic; everything that turns a card's channel into a slot or
// back goes through these.
constexpr int ChannelSlot(int card, int channel) {
    return CardIndex(card) * kChannelsPerCard + channel;
}
constexpr int LineSlot(int card, int line) {
    return CardIndex(card) * kLinesPerCard + line;
}
// And back: the card (0 or 1) and its channel of channel slot 0..15.
constexpr int CardOfChannelSlot(int slot) {
    return slot / kChannelsPerCard;
}
constexpr int ChannelOfSlot(int slot) {
    return slot % kChannelsPerCard;
}

// How a card's link stands, most telling first: the card's connected flag stays set
// through a lost port, a missing answer and stopped frames, so only this order
// tells them apart. The status window's fault line and the link alarms both read it.
enum class LinkCondition { PortNotFound, PortLost, CardNotFound, NoAnswer, NoData, Fine };

// State is AcquisitionState or const AcquisitionState; the view's references
// follow its constness.
template <typename State>
class BasicCardView {
    template <typename T>
    using Ref = std::conditional_t<std::is_const_v<State>, const T&, T&>;
    static constexpr bool First(int card) { return CardIndex(card) == 0; }

  public:
    BasicCardView(State& state, int card)
        : index(CardIndex(card)),
          ComPort(First(card) ? state.ComPort1 : state.ComPort2),
          PortOpen(First(card) ? state.PortOpen1 : state.PortOpen2),
          PortLost(First(card) ? state.PortLost1 : state.PortLost2),
          AwaitingAnswer(First(card) ? state.AwaitingAnswer1 : state.AwaitingAnswer2),
          DataStale(First(card) ? state.DataStale1 : state.DataStale2),
          CardConnected(First(card) ? state.CardConnected1 : state.CardConnected2),
          TaskRunning(First(card) ? state.TaskRunning1 : state.TaskRunning2),
          CardVersion(First(card) ? state.CardVersion1 : state.CardVersion2),
          AnalogFrame(First(card) ? state.AnalogFrame1 : state.AnalogFrame2),
          DigitalFrame(First(card) ? state.DigitalFrame1 : state.DigitalFrame2),
          AmbientTemp(First(card) ? state.AmbientTemp1 : state.AmbientTemp2) {}

    int channelSlot(int channel) const { return ChannelSlot(index, channel); }
    int lineSlot(int line) const { return LineSlot(index, line); }
    // An analog frame has been stored (card 1 starts with a placeholder one).
    bool hasAnalogFrame() const { return AnalogFrame.size() == kAnalogFrameLength; }
    // The card's task runs but its frames stopped: its values are old ones. With no
    // task running, the last values stand as they are.
    bool valuesStale() const { return TaskRunning && DataStale; }
    LinkCondition linkCondition() const {
        if (!PortOpen) {
            return LinkCondition::PortNotFound;
        }
        if (PortLost) {
            // The port went away after start-up.
            return LinkCondition::PortLost;
        }
        if (!CardConnected) {
            return LinkCondition::CardNotFound;
        }
        if (AwaitingAnswer) {
            // The port came back, the card has not answered "?" since.
            return LinkCondition::NoAnswer;
        }
        // The task runs, but no frame has come for a while.
        return valuesStale() ? LinkCondition::NoData : LinkCondition::Fine;
    }

    const int index;  // 0 for card 1, 1 for card 2
    Ref<std::int16_t> ComPort;
    Ref<bool> PortOpen;
    Ref<bool> PortLost;
    Ref<bool> AwaitingAnswer;
    Ref<bool> DataStale;
    Ref<bool> CardConnected;
    Ref<bool> TaskRunning;
    Ref<std::string> CardVersion;
    Ref<std::string> AnalogFrame;
    Ref<std::string> DigitalFrame;
    Ref<float> AmbientTemp;
};

using CardView = BasicCardView<AcquisitionState>;
using ConstCardView = BasicCardView<const AcquisitionState>;

inline CardView CardOf(AcquisitionState& state, int card) {
    return {state, card};
}
inline ConstCardView CardOf(const AcquisitionState& state, int card) {
    return {state, card};
}

}  // namespace vantrel
