// The port boxes take whatever the user types; a text is either refused or a port
// number the program can open, and a number always reads back from its own entry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/PortChoice.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto port = vantrel::ParsePortChoice(text);
    if (port) {
        if (*port < vantrel::kFirstPortNumber || *port > vantrel::kLastPortNumber) {
            std::abort();
        }
        if (vantrel::ParsePortChoice(vantrel::PortChoiceText(*port)) != port) {
            std::abort();
        }
    }
    return 0;
}
