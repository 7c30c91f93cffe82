// Any bytes given as a configuration file must either load whole or be refused with
// a reason; what loads must write back and read again unchanged, apart from blanks
// around a range text, which the reader drops and the range reading ignores.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/ConfigFile.h"

namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

vantrel::CardConfiguration WithoutSurroundingBlanks(vantrel::CardConfiguration config) {
    for (std::string& text : config.rangeText) {
        text = Trimmed(text);
    }
    return config;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const vantrel::ConfigFileParse parsed = vantrel::ParseConfigFile(vantrel::FieldReader(text));
    if (!parsed.config) {
        if (parsed.error.empty()) {
            std::abort();
        }
        return 0;
    }
    if (vantrel::ConfigFileProblem(*parsed.config)) {
        return 0;
    }
    const auto again =
        vantrel::ParseConfigFile(vantrel::FieldReader(vantrel::FormatConfigFile(*parsed.config)));
    if (!again.config ||
        !(WithoutSurroundingBlanks(*again.config) == WithoutSurroundingBlanks(*parsed.config))) {
        std::abort();
    }
    return 0;
}
