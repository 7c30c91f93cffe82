#include "settings/TableFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "settings/AppPaths.h"
#include "settings/FieldReader.h"

namespace vantrel {

namespace {
// A table is a few thousand short numbers; anything near this size is not one.
constexpr std::size_t kMaxTableBytes = 256 * 1024;

std::optional<std::string> FindInFolders(const std::vector<std::string>& folders,
                                         const std::string& fileName) {
    for (const std::string& folder : folders) {
        std::string path = FolderFilePath(folder, fileName);
        std::error_code ignored;
        if (std::filesystem::exists(path, ignored)) {
            return path;
        }
    }
    return std::nullopt;
}

std::string NotFoundMessage(const std::vector<std::string>& folders, const std::string& fileName) {
    std::string message = fileName + " was not found";
    for (std::size_t i = 0; i < folders.size(); ++i) {
        message += (i == 0 ? " in " : " nor in ") + folders[i];
    }
    return message;
}

}  // namespace

std::optional<std::string> LoadThermocoupleTable(const std::vector<std::string>& folders,
                                                 const std::string& fileName, int entries,
                                                 double* into) {
    const std::optional<std::string> found = FindInFolders(folders, fileName);
    if (!found) {
        return NotFoundMessage(folders, fileName);
    }
    const std::string& path = *found;
    std::string why;
    auto reader = FieldReader::fromFile(path, kMaxTableBytes, &why);
    if (!reader) {
        return fileName + ": " + why;
    }
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        if (reader->atEnd()) {
            return fileName + ": holds " + std::to_string(i) + " numbers, " +
                   std::to_string(entries) + " are needed (" + path + ")";
        }
        const auto value = reader->readDouble();
        if (!value) {
            return fileName + ": line " + std::to_string(reader->line()) + " is not a number (" +
                   path + ")";
        }
        if (!values.empty() && *value < values.back()) {
            return fileName + ": line " + std::to_string(reader->line()) +
                   " is below the voltage before it; the table must rise with temperature (" +
                   path + ")";
        }
        values.push_back(*value);
    }
    std::copy(values.begin(), values.end(), into);
    return std::nullopt;
}

}  // namespace vantrel
