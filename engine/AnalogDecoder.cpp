#include <array>
#include <cmath>
#include <limits>
#include <string_view>

#include "engine/AnalogDecoder.h"
#include "engine/CardView.h"
#include "engine/LenientNumber.h"
#include "engine/RoundHalfEven.h"

namespace vantrel {

namespace {

constexpr std::size_t kCountFieldStride = 7;  // six characters and a separator
constexpr std::size_t kCountFieldLength = 6;
constexpr std::size_t kAmbientFieldStart = 56;
constexpr std::size_t kAmbientFieldLength = 5;

}  // namespace

bool DecodeAnalogFrame(AcquisitionState& state, int card) {
    const CardView thisCard = CardOf(state, card);
    const std::string& frame = thisCard.AnalogFrame;
    if (!thisCard.hasAnalogFrame()) {
        return false;
    }
    const std::string_view text(frame);
    // Everything is read before anything is stored, so a frame that cannot be
    // held (a count beyond 16 bits, an ambient beyond the float range) leaves the
    // previous counts and ambient in place instead of half of them.
    std::array<std::int16_t, kChannelsPerCard> counts{};
    for (std::size_t k = 0; k < counts.size(); ++k) {
        const auto value = RoundHalfEven(LeadingNumber(
            text.substr(k * kCountFieldStride, kCountFieldLength), number_rules::kCardField));
        if (!value || *value < std::numeric_limits<std::int16_t>::min() ||
            *value > std::numeric_limits<std::int16_t>::max()) {
            return false;
        }
        counts[k] = static_cast<std::int16_t>(*value);
    }
    const double ambient = LeadingNumber(text.substr(kAmbientFieldStart, kAmbientFieldLength),
                                         number_rules::kCardField);
    if (!(std::fabs(ambient) <= std::numeric_limits<float>::max())) {
        return false;
    }
    for (int k = 0; k < kChannelsPerCard; ++k) {
        state.RawCounts[thisCard.channelSlot(k)] = counts[k];
    }
    thisCard.AmbientTemp = static_cast<float>(ambient);
    return true;
}

}  // namespace vantrel
