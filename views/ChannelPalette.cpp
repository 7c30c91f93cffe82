#include "views/ChannelPalette.h"

#include <array>
#include <cstddef>

namespace vantrel {

platform::Rgb ChannelPaletteColour(int index) {
    static constexpr std::array<platform::Rgb, 16> kPalette{{{31, 119, 180},
                                                             {255, 127, 14},
                                                             {44, 160, 44},
                                                             {214, 39, 40},
                                                             {148, 103, 189},
                                                             {140, 86, 75},
                                                             {227, 119, 194},
                                                             {127, 127, 127},
                                                             {188, 189, 34},
                                                             {23, 190, 207},
                                                             {0, 0, 128},
                                                             {128, 0, 0},
                                                             {0, 128, 128},
                                                             {128, 128, 0},
                                                             {255, 0, 255},
                                                             {0, 0, 0}}};
    return kPalette[static_cast<std::size_t>(index) % kPalette.size()];
}

}  // namespace vantrel
