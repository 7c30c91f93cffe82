#include "history/LogLine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

namespace vantrel::history {

namespace {

constexpr char kComma = SeparatorText(Delimiter::Comma).front();

// One value; an empty field is a channel the interval had no value for. A decimal
// comma is read as the point it stands for, whatever the process locale says.
bool ReadValue(std::string_view field, bool decimalComma, float& value) {
    if (field.empty()) {
        value = std::numeric_limits<float>::quiet_NaN();
        return true;
    }
    std::array<char, 64> copy{};
    if (decimalComma) {
        if (field.size() > copy.size()) {
            return false;
        }
        std::replace_copy(field.begin(), field.end(), copy.begin(), kComma, '.');
        field = std::string_view(copy.data(), field.size());
    }
    const char* const end = field.data() + field.size();
    const auto [next, error] = std::from_chars(field.data(), end, value);
    return error == std::errc() && next == end;
}

// Values joined by the separator they hold; beside any separator but a comma, a
// comma is the decimal mark.
bool ReadValues(std::string_view text, std::vector<float>& values) {
    if (text.empty()) {
        return false;
    }
    const std::optional<Delimiter> delimiter = SeparatorAmong(text);
    const std::string_view separator = delimiter ? SeparatorText(*delimiter) : std::string_view{};
    const bool decimalComma =
        delimiter && *delimiter != Delimiter::Comma && text.find(kComma) != std::string_view::npos;
    // One allocation a line: growing value by value cost a fifth of the reading.
    values.reserve(kMaxLogColumns);
    std::size_t at = 0;
    while (true) {
        const std::size_t end =
            separator.empty() ? std::string_view::npos : text.find(separator, at);
        float value = 0.0f;
        if (values.size() == kMaxLogColumns ||
            !ReadValue(text.substr(at, end == std::string_view::npos ? end : end - at),
                       decimalComma, value)) {
            return false;
        }
        values.push_back(value);
        if (end == std::string_view::npos) {
            return true;
        }
        at = end + separator.size();
    }
}

}  // namespace

std::optional<RecordLine> ReadRecord(std::string_view line, std::optional<StampStyle> announced) {
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
        const std::optional<Delimiter> rest = SeparatorAmong(line.substr(comma + 1));
        if (!rest || *rest == Delimiter::Comma) {
            // Values joined by commas: the leading number may be either.
            record.leadingNumber = whole.has_value();
        } else if (whole && announced != StampStyle::None) {
            // Another separator after the first comma: a serial number before the
            // values, unless the comma is the first value's decimal mark. Only a
            // header, or the numbers counting up, tells which when both read.
            if (announced != StampStyle::Serial && ReadValues(line, record.values)) {
                record.leadingNumber = true;
                record.leadingDecimal = true;
                return record;
            }
            record.values.clear();
            record.stamp = StampStyle::Serial;
            valuesAt = comma + 1;
        }
    }
    if (!ReadValues(line.substr(valuesAt), record.values)) {
        return std::nullopt;
    }
    return record;
}

}  // namespace vantrel::history
