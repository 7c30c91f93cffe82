#include "setup/RangeText.h"

#include <array>
#include <charconv>

namespace vantrel {

std::string RangeDisplayText(double value) {
    if (value == 0.0) {
        return "0";  // no "-0"
    }
    // Shortest fixed notation of a double needs at most a few hundred characters.
    std::array<char, 400> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed);
    if (error != std::errc{}) {
        return "0";
    }
    return std::string(buffer.data(), end);
}

}  // namespace vantrel
