// Any bytes left in vantrel.lock: the holder's process id read from it is a
// positive number or 0 (not known), and a file this program wrote reads back as
// its process id.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/InstanceLock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const long pid = vantrel::platform::LockHolderPid(text);
    if (pid < 0 ||
        (pid > 0 && vantrel::platform::LockHolderPid(std::to_string(pid) + "\n") != pid)) {
        std::abort();
    }
    return 0;
}
