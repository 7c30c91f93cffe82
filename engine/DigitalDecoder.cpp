#include <charconv>
#include <string_view>

#include "engine/CardView.h"
#include "engine/DigitalDecoder.h"

namespace vantrel {

namespace {

constexpr std::size_t kGroupLength = 4;

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Four hexadecimal digits, nothing else (no sign, no blank).
bool ReadGroup(std::string_view group, unsigned& value) {
    for (const char c : group) {
        if (!IsHexDigit(c)) {
            return false;
        }
    }
    return std::from_chars(group.data(), group.data() + group.size(), value, 16).ec == std::errc();
}

}  // namespace

void DecodeDigitalFrame(AcquisitionState& state, int card) {
    const CardView thisCard = CardOf(state, card);
    const std::string& frame = thisCard.DigitalFrame;
    if (frame.size() != kDigitalFrameLength) {
        return;
    }
    const std::string_view text(frame);
    unsigned inputs = 0;
    unsigned outputs = 0;
    if (!ReadGroup(text.substr(0, kGroupLength), inputs) ||
        !ReadGroup(text.substr(kGroupLength, kGroupLength), outputs)) {
        return;
    }
    for (int k = 0; k < kLinesPerCard; ++k) {
        state.DigitalIn[thisCard.lineSlot(k)] = ((inputs >> k) & 1u) != 0;
        state.DigitalOut[thisCard.lineSlot(k)] = ((outputs >> k) & 1u) != 0;
    }
}

}  // namespace vantrel
