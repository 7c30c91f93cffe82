// Any bytes found as vantrel-mqtt.spool (a file cut short too): the spool opens,
// gives up what is damaged, can read every message it still counts, and keeps
// working as a spool afterwards; its counts never claim more than it holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "publish/Spool.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using vantrel::publish::Spool;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    Spool spool(std::make_unique<vantrel::publish::MemorySpoolStorage>(bytes), 4096);
    Spool::Position at = spool.front();
    std::uint64_t read = 0;
    while (spool.read(at)) {
        ++read;
    }
    if (read != spool.size() || spool.usedBytes() > bytes.size()) {
        std::abort();
    }
    // Still a working spool: what goes in comes out, in order, after the old ones.
    const vantrel::publish::SpooledMessage message{"vantrel/x/analog/0", "{}", 1, false};
    spool.pushBack(message);
    spool.pushFront(message);
    while (spool.size() > 1) {
        spool.popFront();
    }
    at = spool.front();
    if (spool.read(at) != message) {
        std::abort();
    }
    spool.sync();
    return 0;
}
