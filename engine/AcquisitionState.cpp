#include "engine/AcquisitionState.h"

#include <utility>

#include "platform/Paths.h"

namespace vantrel {

std::string DefaultLogFileName(const std::string& appDir) {
#ifdef _WIN32
    (void)appDir;
    return "D:\\test.csv";
#else
    return FolderFilePath(appDir, "test.csv");
#endif
}

Slots<std::string, kChannelArraySize> DefaultChannelNames() {
    Slots<std::string, kChannelArraySize> names{};
    for (int s = 0; s < kUsedChannels; ++s) {
        names[static_cast<std::size_t>(s)] = "Channel " + std::to_string(s);
    }
    return names;
}

AcquisitionState::AcquisitionState(std::string appDir)
    : LogFileName(DefaultLogFileName(appDir)), AppDir(std::move(appDir)) {}

}  // namespace vantrel
