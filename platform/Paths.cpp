#include "platform/Paths.h"

namespace vantrel {

namespace {
#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

bool EndsWithSeparator(const std::string& dir) {
    return !dir.empty() && (dir.back() == kSeparator || dir.back() == '/');
}
}  // namespace

std::string FolderFilePath(const std::string& folder, std::string_view fileName) {
    std::string path = folder;
    // A root folder ("/" or "C:\") already ends in a separator.
    if (!path.empty() && !EndsWithSeparator(path)) {
        path.push_back(kSeparator);
    }
    path.append(fileName);
    return path;
}

std::filesystem::path NativePath(std::string_view utf8Path) {
    return std::filesystem::path(std::u8string(utf8Path.begin(), utf8Path.end()));
}

std::string Utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace vantrel
