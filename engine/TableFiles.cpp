#include "engine/TableFiles.h"

#include <vector>

#include "engine/FieldReader.h"

namespace vantrel {

namespace {
// A table is a few thousand short numbers; anything near this size is not one.
constexpr std::size_t kMaxTableBytes = 256 * 1024;
}  // namespace

std::optional<std::string> LoadThermocoupleTable(const std::string& path,
                                                 const std::string& displayName, int entries,
                                                 double* into) {
    std::string why;
    auto reader = FieldReader::fromFile(path, kMaxTableBytes, &why);
    if (!reader) {
        return displayName + ": " + why;
    }
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        if (reader->atEnd()) {
            return displayName + ": holds " + std::to_string(i) + " numbers, " +
                   std::to_string(entries) + " are needed (" + path + ")";
        }
        const auto value = reader->readDouble();
        if (!value) {
            return displayName + ": line " + std::to_string(reader->line()) + " is not a number (" +
                   path + ")";
        }
        if (!values.empty() && *value < values.back()) {
            return displayName + ": line " + std::to_string(reader->line()) +
                   " is below the voltage before it; the table must rise with temperature (" +
                   path + ")";
        }
        values.push_back(*value);
    }
    std::copy(values.begin(), values.end(), into);
    return std::nullopt;
}

}  // namespace vantrel
