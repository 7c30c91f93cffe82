// Any bytes given as a configuration file must either load whole or be refused with
// a reason; what loads must write back and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/ConfigFile.h"

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
    if (!again.config || !(*again.config == *parsed.config)) {
        std::abort();
    }
    return 0;
}
