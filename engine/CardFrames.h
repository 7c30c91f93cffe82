#pragma once

// What a card link hands its listeners for each accepted frame: the values as
// they were converted, at the moment they were converted. The shared state holds
// the same values for the windows that poll it, but a listener that read them back
// later could find the next frame's values there, or an older value kept for a
// slot that failed this time.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "engine/AcquisitionState.h"
#include "engine/Conversion.h"
#include "engine/SensorChecks.h"
#include "platform/Clock.h"

namespace vantrel {

// How many derived channels a frame carries the values of.
inline constexpr std::size_t kDerivedSlots = 16;

struct ConvertedFrame {
    int card = 0;  // 0 is card 1, 1 is card 2
    platform::DateTime convertedAt;
    // Engineering values by channel; none for a channel whose conversion failed
    // this time (the failing slot and those after it).
    std::array<std::optional<float>, kChannelsPerCard> values{};
    std::array<std::int16_t, kChannelsPerCard> inputTypes{};
    std::array<std::int16_t, kChannelsPerCard> rawCounts{};
    float ambient = 0.0f;
    std::optional<ConversionFailure> failure;
    // For the channels that converted: a 4-20 mA channel's loop current, and where
    // a PT-100 or thermocouple reading lies against its table (a value clipped to
    // the table's end looks like a reading).
    std::array<std::optional<double>, kChannelsPerCard> loopMilliamps{};
    std::array<TableReading, kChannelsPerCard> tableReadings{};
    // What the user reads, worked out once by the run before any listener sees the
    // frame: each channel through its user scale (as converted where it has none;
    // none where it failed), and the derived channels evaluated over this frame's
    // values and the other card's latest, by their place in the settings (none
    // where a channel has no value this frame or there is no such channel).
    std::array<std::optional<double>, kChannelsPerCard> scaled{};
    std::array<std::optional<double>, kDerivedSlots> derived{};
};

struct DigitalFrame {
    int card = 0;
    platform::DateTime receivedAt;
    // Line d of the card in bit d.
    std::uint16_t inputs = 0;
    std::uint16_t outputs = 0;
};

// The card's frame as the state holds it just after decoding and conversion.
ConvertedFrame TakeConvertedFrame(const AcquisitionState& state, int card,
                                  const platform::DateTime& convertedAt,
                                  const std::optional<ConversionFailure>& failure);
DigitalFrame TakeDigitalFrame(const AcquisitionState& state, int card,
                              const platform::DateTime& receivedAt);

}  // namespace vantrel
