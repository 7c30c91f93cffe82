// The simulated card reads whatever the program (or anyone on the terminal)
// writes to it: arbitrary bytes must never crash it, and the frames it sends
// keep their lengths whatever it was told.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "tools/cardsim/CardSimulator.h"
#include "tools/cardsim/SignalModel.h"
#include "tools/cardsim/SimOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    cardsim::SimOptions options;
    options.channels[0] = {cardsim::SignalKind::Sine, 30000.0, 1.0, 0.0};
    options.channels[1] = {cardsim::SignalKind::Pt100, 300.0, 13000.0, 0.0};
    cardsim::SignalModel signals;
    std::string error;
    if (!signals.Load(options, error)) {
        std::abort();
    }
    cardsim::CardSimulator card(options, signals);
    std::vector<cardsim::WriteUnit> units;
    std::size_t at = 0;
    while (at < size) {
        const std::size_t length = std::min<std::size_t>(data[at] % 16 + 1, size - at);
        const std::string reply =
            card.OnBytes(std::string_view(reinterpret_cast<const char*>(data + at), length));
        if (!reply.empty() && (reply.front() != 'V' || reply.back() != '\r')) {
            std::abort();
        }
        at += length;
        if (card.streaming()) {
            units.clear();
            card.AppendFrames(units);
            for (const auto& unit : units) {
                // One analog frame and one digital frame.
                if (unit.text.size() != 62 + 9 || unit.text[61] != '\r' || unit.text[70] != '\r') {
                    std::abort();
                }
            }
        }
    }
    return 0;
}
