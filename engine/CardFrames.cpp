#include "engine/CardFrames.h"

#include "engine/CardView.h"

namespace vantrel {

ConvertedFrame TakeConvertedFrame(const AcquisitionState& state, int card,
                                  const platform::DateTime& convertedAt,
                                  const std::optional<ConversionFailure>& failure) {
    ConvertedFrame frame;
    frame.card = CardIndex(card);
    frame.convertedAt = convertedAt;
    frame.failure = failure;
    frame.ambient = CardOf(state, card).AmbientTemp;
    for (int channel = 0; channel < kChannelsPerCard; ++channel) {
        const auto slot = static_cast<std::size_t>(ChannelSlot(card, channel));
        const auto c = static_cast<std::size_t>(channel);
        frame.inputTypes[c] = state.InputType[slot];
        frame.rawCounts[c] = state.RawCounts[slot];
        // What the state holds for a failed slot is an earlier frame's value.
        if (!failure || static_cast<int>(slot) < failure->slot) {
            frame.values[c] = state.ChannelValue[slot];
            frame.scaled[c] = static_cast<double>(state.ChannelValue[slot]);
            frame.loopMilliamps[c] = LoopMilliamps(state, static_cast<int>(slot));
            frame.tableReadings[c] = ReadingAgainstTable(state, static_cast<int>(slot));
        }
    }
    return frame;
}

DigitalFrame TakeDigitalFrame(const AcquisitionState& state, int card,
                              const platform::DateTime& receivedAt) {
    DigitalFrame frame;
    frame.card = CardIndex(card);
    frame.receivedAt = receivedAt;
    for (int line = 0; line < kLinesPerCard; ++line) {
        const auto slot = static_cast<std::size_t>(LineSlot(card, line));
        frame.inputs = static_cast<std::uint16_t>(frame.inputs | (state.DigitalIn[slot] << line));
        frame.outputs =
            static_cast<std::uint16_t>(frame.outputs | (state.DigitalOut[slot] << line));
    }
    return frame;
}

}  // namespace vantrel
