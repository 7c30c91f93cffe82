// Frames come from a serial line and may hold anything. The bytes are used as an
// analog frame, a digital frame and channel settings for either card, then the
// frame is converted; the decoders must drop what they cannot read and the
// conversion must report failures rather than crash.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/AcquisitionState.h"
#include "engine/AnalogDecoder.h"
#include "engine/Conversion.h"
#include "engine/DigitalDecoder.h"
#include "engine/LenientNumber.h"

namespace {

std::int16_t Int16At(const std::uint8_t* data, std::size_t size, std::size_t at) {
    if (at + 1 >= size) {
        return 0;
    }
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8)));
}

// Rising tables, as start-up guarantees.
void FillTables(vantrel::AcquisitionState& state) {
    for (int i = 0; i < vantrel::kTableJEntries; ++i) {
        state.TableJ[i] = 0.055 * i;
    }
    for (int i = 0; i < vantrel::kTableKEntries; ++i) {
        state.TableK[i] = -5.891 + 0.04 * i;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)LeadingNumber(text, number_rules::kCardField);

    static AcquisitionState state = [] {
        AcquisitionState initial;
        FillTables(initial);
        return initial;
    }();
    const int card = size > 0 ? data[0] & 1 : 0;
    // A 62-character analog frame and a 9-character digital frame when the input is
    // long enough, else the input as it stands (of the wrong length).
    state.AnalogFrame1 = state.AnalogFrame2 = text.substr(0, 62);
    state.DigitalFrame1 = state.DigitalFrame2 = text.substr(size > 62 ? 62 : 0, 9);
    // Settings for the card's slots from the bytes after the frames.
    const int base = card == 0 ? 0 : kChannelsPerCard;
    for (int k = 0; k < kChannelsPerCard; ++k) {
        const std::size_t at = 71 + 12 * static_cast<std::size_t>(k);
        const int s = base + k;
        state.InputType[s] = static_cast<std::int16_t>(at < size ? data[at] % 9 : 0);
        state.CalZero10V[s] = Int16At(data, size, at + 1);
        state.CalSpan10V[s] = Int16At(data, size, at + 3);
        state.CalZero200mV[s] = Int16At(data, size, at + 5);
        state.CalSpan200mV[s] = Int16At(data, size, at + 7);
        state.CalRTD[s] = Int16At(data, size, at + 9);
        state.InputRange[s] = at + 11 < size ? static_cast<double>(data[at + 11]) - 100.0 : 10.0;
    }
    DecodeAnalogFrame(state, card);
    const auto failure = ConvertFrame(state, card);
    if (failure) {
        (void)failure->message();
    }
    DecodeDigitalFrame(state, card);
    return 0;
}
