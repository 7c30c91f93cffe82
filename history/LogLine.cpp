#include "history/LogLine.h"

#include <algorithm>
#include <charconv>
#include <chrono>

namespace vantrel::history {

namespace {

// More columns than any log of sixteen channels holds; a longer line is not a log's.
constexpr std::size_t kMaxValues = 256;

bool Digits(std::string_view text, std::size_t at, std::size_t count, int& out) {
    if (at + count > text.size()) {
        return false;
    }
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    out = value;
    return true;
}

bool Is(std::string_view text, std::size_t at, char c) {
    return at < text.size() && text[at] == c;
}

bool ValidTime(const platform::DateTime& t) {
    return t.hour < 24 && t.minute < 60 && t.second < 60;
}

bool ValidDate(const platform::DateTime& t) {
    using namespace std::chrono;
    return year_month_day{year{t.year}, month{static_cast<unsigned>(t.month)},
                          day{static_cast<unsigned>(t.day)}}
        .ok();
}

// "hh:mm:ss" at `at`.
bool ReadTime(std::string_view text, std::size_t at, platform::DateTime& t) {
    return Digits(text, at, 2, t.hour) && Is(text, at + 2, ':') &&
           Digits(text, at + 3, 2, t.minute) && Is(text, at + 5, ':') &&
           Digits(text, at + 6, 2, t.second) && ValidTime(t);
}

// "2026-12-06T14:05:09.250+01:00," or with "Z"; the length read, 0 when it is not.
std::size_t ReadIso(std::string_view text, platform::DateTime& t) {
    int sign = 1;
    int offsetHours = 0;
    int offsetMinutes = 0;
    if (!(Digits(text, 0, 4, t.year) && Is(text, 4, '-') && Digits(text, 5, 2, t.month) &&
          Is(text, 7, '-') && Digits(text, 8, 2, t.day) && Is(text, 10, 'T') &&
          ReadTime(text, 11, t) && Is(text, 19, '.') && Digits(text, 20, 3, t.millisecond) &&
          ValidDate(t))) {
        return 0;
    }
    if (Is(text, 23, 'Z')) {
        t.utcOffsetMinutes = 0;
        return Is(text, 24, ',') ? 25 : 0;
    }
    if (!(Is(text, 23, '+') || Is(text, 23, '-'))) {
        return 0;
    }
    sign = text[23] == '-' ? -1 : 1;
    if (!(Digits(text, 24, 2, offsetHours) && Is(text, 26, ':') &&
          Digits(text, 27, 2, offsetMinutes) && offsetHours < 24 && offsetMinutes < 60 &&
          Is(text, 29, ','))) {
        return 0;
    }
    t.utcOffsetMinutes = sign * (offsetHours * 60 + offsetMinutes);
    return 30;
}

// Values joined by commas, or by blanks when there is no comma. Each number read
// ends where the separator must follow, so a line is walked once.
bool ReadValues(std::string_view text, std::vector<float>& values) {
    const bool commas = text.find(',') != std::string_view::npos;
    const char separator = commas ? ',' : ' ';
    // One allocation a line: growing value by value cost a fifth of the reading.
    values.reserve(std::min<std::size_t>(
        kMaxValues, 1 + static_cast<std::size_t>(std::count(text.begin(), text.end(), separator))));
    const char* at = text.data();
    const char* const end = at + text.size();
    while (true) {
        float value = 0.0f;
        const auto [next, error] = std::from_chars(at, end, value);
        if (values.size() == kMaxValues || error != std::errc()) {
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
        while (!commas && at < end && *at == ' ') {
            ++at;
        }
    }
}

std::size_t StampFieldsLength(std::string_view line, Stamp stamp) {
    switch (stamp) {
        case Stamp::DateTime:
            return 18;
        case Stamp::Time:
            return 9;
        case Stamp::Iso:
            return line.find(',') + 1;
        case Stamp::Serial:
            return line.find(',') + 1;
        case Stamp::None:
            break;
    }
    return 0;
}

}  // namespace

std::optional<RecordLine> ReadRecord(std::string_view line) {
    RecordLine record;
    std::size_t valuesAt = 0;
    platform::DateTime& t = record.when;
    if (const std::size_t length = ReadIso(line, t); length > 0) {
        record.stamp = Stamp::Iso;
        valuesAt = length;
    } else if (Digits(line, 0, 2, t.day) && Is(line, 2, '/') && Digits(line, 3, 2, t.month) &&
               Is(line, 5, '/') && Digits(line, 6, 2, t.year) && Is(line, 8, ',') &&
               ReadTime(line, 9, t) && Is(line, 17, ',')) {
        // Two-digit years are this century's: the logger writes the year within it.
        t.year += 2000;
        if (!ValidDate(t)) {
            return std::nullopt;
        }
        record.stamp = Stamp::DateTime;
        valuesAt = 18;
    } else if (ReadTime(line, 0, t) && Is(line, 8, ',')) {
        record.stamp = Stamp::Time;
        valuesAt = 9;
    } else if (const std::size_t comma = line.find(','); comma != std::string_view::npos) {
        const std::string_view first = line.substr(0, comma);
        const auto [end, error] =
            std::from_chars(first.data(), first.data() + first.size(), record.number);
        const bool whole = !first.empty() && first[0] != '-' && error == std::errc() &&
                           end == first.data() + first.size();
        // Blanks after the first comma: a serial number before blank-separated
        // values. Otherwise the leading number may be either.
        if (whole && line.find(',', comma + 1) == std::string_view::npos &&
            line.find(' ', comma + 1) != std::string_view::npos) {
            record.stamp = Stamp::Serial;
            valuesAt = comma + 1;
        } else {
            record.leadingNumber = whole;
        }
    }
    if (!ReadValues(line.substr(valuesAt), record.values)) {
        return std::nullopt;
    }
    return record;
}

std::optional<HeaderStart> ReadHeaderStart(std::string_view line) {
    static constexpr std::pair<std::string_view, Stamp> kStarts[] = {
        {"TIMESTAMP,", Stamp::Iso},
        {"DATE,TIME,", Stamp::DateTime},
        {"TIME,", Stamp::Time},
        {"SN,", Stamp::Serial},
    };
    for (const auto& [start, stamp] : kStarts) {
        if (line.starts_with(start)) {
            return HeaderStart{stamp, start.size()};
        }
    }
    return std::nullopt;
}

std::optional<std::string_view> ValueSeparator(std::string_view line, Stamp stamp) {
    const std::string_view values =
        line.substr(std::min(line.size(), StampFieldsLength(line, stamp)));
    if (values.find(',') != std::string_view::npos) {
        return ",";
    }
    if (values.find("    ") != std::string_view::npos) {
        return "    ";
    }
    if (values.find(' ') != std::string_view::npos) {
        return " ";
    }
    return std::nullopt;
}

std::vector<std::string> SplitNames(std::string_view names, std::string_view separator) {
    std::vector<std::string> result;
    std::size_t at = 0;
    while (true) {
        std::string name;
        std::size_t end = 0;
        const std::size_t close = names.find('"', at + 1);
        if (Is(names, at, '"') && close != std::string_view::npos &&
            (close + 1 == names.size() || names.substr(close + 1).starts_with(separator))) {
            name = names.substr(at + 1, close - at - 1);
            end = close + 1 == names.size() ? std::string_view::npos : close + 1;
        } else {
            end = names.find(separator, at);
            name = names.substr(at, end == std::string_view::npos ? end : end - at);
        }
        result.push_back(std::move(name));
        if (end == std::string_view::npos || result.size() > kMaxValues) {
            return result;
        }
        at = end + separator.size();
    }
}

}  // namespace vantrel::history
