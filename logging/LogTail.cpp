#include "logging/LogTail.h"

#include <limits>

#include "logging/LogFormat.h"

namespace vantrel {

namespace {

// Digits only: a sign, a date ("06/12/26") or a time ("14:05:09") is no serial
// number.
std::optional<std::int32_t> LeadingSerialNumber(std::string_view line) {
    const std::optional<std::int64_t> number = ReadSerialField(line);
    if (!number || *number > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*number);
}

}  // namespace

std::optional<std::int32_t> LastSerialNumber(std::string_view tail, bool wholeFile) {
    if (!wholeFile) {
        const std::size_t firstEnd = tail.find('\n');
        tail.remove_prefix(firstEnd == std::string_view::npos ? tail.size() : firstEnd + 1);
    }
    std::size_t end = tail.rfind('\n');
    while (end != std::string_view::npos) {
        const std::size_t previous = end == 0 ? std::string_view::npos : tail.rfind('\n', end - 1);
        const std::size_t begin = previous == std::string_view::npos ? 0 : previous + 1;
        std::string_view line = tail.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (const std::optional<std::int32_t> number = LeadingSerialNumber(line)) {
            return number;
        }
        end = previous;
    }
    return std::nullopt;
}

}  // namespace vantrel
