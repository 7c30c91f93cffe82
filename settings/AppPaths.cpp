#include "settings/AppPaths.h"

namespace vantrel {

std::string AppFilePath(const AcquisitionState& state, std::string_view fileName) {
    return FolderFilePath(state.AppDir, fileName);
}

}  // namespace vantrel
