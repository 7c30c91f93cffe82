#include "platform/PortNaming.h"

#include <filesystem>
#include <system_error>

namespace vantrel::platform {

std::string SerialDeviceName(int portNumber, std::string_view appDir) {
    if (portNumber < 1) {
        return {};
    }
    const std::string comName = "COM" + std::to_string(portNumber);
#ifdef _WIN32
    (void)appDir;
    return comName;
#else
    if (!appDir.empty()) {
        const std::filesystem::path entry = std::filesystem::path(appDir) / comName;
        std::error_code error;
        // symlink_status: a link whose simulator has gone still names this port, so a
        // lost port is retried where it was, not on an unrelated USB adapter.
        if (std::filesystem::symlink_status(entry, error).type() !=
            std::filesystem::file_type::not_found) {
            return entry.string();
        }
    }
    return "/dev/ttyUSB" + std::to_string(portNumber - 1);
#endif
}

}  // namespace vantrel::platform
