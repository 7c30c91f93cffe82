#include "publish/ClientId.h"

#include <cstdint>
#include <cstdio>

namespace vantrel::publish {

std::string ClientId(const std::string& station, const std::string& startFolder) {
    // FNV-1a: fixed by its published constants, so unlike std::hash it gives the same
    // value in every build and every run.
    std::uint32_t hash = 2166136261u;
    for (const char c : startFolder) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(hash));
    return "vantrel-" + station + "-" + hex;
}

}  // namespace vantrel::publish
