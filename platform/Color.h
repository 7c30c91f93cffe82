#pragma once

// A colour as red, green and blue components 0 to 255: what the settings keep and
// the colour dialog returns, without tying the core to a window system.

#include <cstdint>

namespace vantrel::platform {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

}  // namespace vantrel::platform
