#include "history/LogLine.h"

#include <algorithm>
#include <charconv>

namespace vantrel::history {

namespace {

constexpr char kComma = SeparatorText(Delimiter::Comma).front();
constexpr char kBlank = SeparatorText(Delimiter::Space).front();

// Values joined by commas, or by blanks when there is no comma. Each number read
// ends where the separator must follow, so a line is walked once.
bool ReadValues(std::string_view text, std::vector<float>& values) {
    const bool commas = text.find(kComma) != std::string_view::npos;
    const char separator = commas ? kComma : kBlank;
    // One allocation a line: growing value by value cost a fifth of the reading.
    values.reserve(std::min<std::size_t>(
        kMaxLogColumns,
        1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), separator))));
    const char* at = text.data();
    const char* const end = at + text.size();
    while (true) {
        float value = 0.0f;
        const auto [next, error] = std::from_chars(at, end, value);
        if (values.size() == kMaxLogColumns || error != std::errc()) {
            return false;
        }
        values.push_back(value);
        if (next == end) {
            return true;
        }
        if (*next != separator) {
            return false;
        }
        at = next + 1;
        // One blank or four between the values.
        while (!commas && at < end && *at == kBlank) {
            ++at;
        }
    }
}

}  // namespace

std::optional<RecordLine> ReadRecord(std::string_view line) {
    RecordLine record;
    std::size_t valuesAt = 0;
    if (const std::optional<StampRead> stamp = ReadTimeStamp(line)) {
        record.stamp = stamp->style;
        record.when = stamp->when;
        valuesAt = stamp->length;
    } else if (const std::size_t comma = line.find(kStampFieldEnd);
               comma != std::string_view::npos) {
        const std::optional<std::int64_t> whole = ReadSerialField(line);
        record.number = whole.value_or(0);
        // Blanks after the first comma: a serial number before blank-separated
        // values. Otherwise the leading number may be either.
        if (whole && line.find(kComma, comma + 1) == std::string_view::npos &&
            line.find(kBlank, comma + 1) != std::string_view::npos) {
            record.stamp = StampStyle::Serial;
            valuesAt = comma + 1;
        } else {
            record.leadingNumber = whole.has_value();
        }
    }
    if (!ReadValues(line.substr(valuesAt), record.values)) {
        return std::nullopt;
    }
    return record;
}

}  // namespace vantrel::history
