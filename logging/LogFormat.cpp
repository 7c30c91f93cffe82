#include "logging/LogFormat.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "platform/DateTimeText.h"

namespace vantrel {

namespace {

constexpr StampStyle kStampStyles[] = {StampStyle::Serial, StampStyle::DateAndTime,
                                       StampStyle::Time, StampStyle::None, StampStyle::Iso};

// "dd/mm/yy" and "hh:mm:ss".
constexpr std::size_t kDateTextLength = 8;
constexpr std::size_t kTimeTextLength = 8;
constexpr std::size_t kTimeFieldsLength = kTimeTextLength + 1;
constexpr std::size_t kDateAndTimeFieldsLength = kDateTextLength + 1 + kTimeFieldsLength;

std::string TwoDigits(int a, char separator1, int b, char separator2, int c) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%02d%c%02d%c%02d", a, separator1, b, separator2, c);
    return buffer;
}

bool TwoDigitsAt(std::string_view text, std::size_t at, int& out) {
    if (at + 2 > text.size() || text[at] < '0' || text[at] > '9' || text[at + 1] < '0' ||
        text[at + 1] > '9') {
        return false;
    }
    out = (text[at] - '0') * 10 + (text[at + 1] - '0');
    return true;
}

bool IsAt(std::string_view text, std::size_t at, char c) {
    return at < text.size() && text[at] == c;
}

bool EndsFieldAt(std::string_view text, std::size_t at) {
    return IsAt(text, at, kStampFieldEnd);
}

// "dd/mm/yy" at the start of text, the year taken as this century's.
bool ReadDate(std::string_view text, platform::DateTime& t) {
    if (!(TwoDigitsAt(text, 0, t.day) && IsAt(text, 2, '/') && TwoDigitsAt(text, 3, t.month) &&
          IsAt(text, 5, '/') && TwoDigitsAt(text, 6, t.year))) {
        return false;
    }
    t.year += 2000;
    return true;
}

// Where the values begin in a record of that style.
std::size_t StampFieldsLength(StampStyle style, std::string_view line) {
    switch (style) {
        case StampStyle::DateAndTime:
            return kDateAndTimeFieldsLength;
        case StampStyle::Time:
            return kTimeFieldsLength;
        case StampStyle::Serial:
        case StampStyle::Iso:
            return line.find(kStampFieldEnd) + 1;
        case StampStyle::None:
            break;
    }
    return 0;
}

}  // namespace

StampStyle StampStyleOf(int code) {
    for (const StampStyle style : kStampStyles) {
        if (code == CodeOf(style)) {
            return style;
        }
    }
    return StampStyle::None;
}

Delimiter DelimiterOf(int code) {
    return code == CodeOf(Delimiter::Comma)        ? Delimiter::Comma
           : code == CodeOf(Delimiter::FourSpaces) ? Delimiter::FourSpaces
                                                   : Delimiter::Space;
}

IntervalUnit IntervalUnitOf(int code) {
    return code == CodeOf(IntervalUnit::Seconds)   ? IntervalUnit::Seconds
           : code == CodeOf(IntervalUnit::Minutes) ? IntervalUnit::Minutes
                                                   : IntervalUnit::Hours;
}

std::string_view StampColumnNames(StampStyle style) {
    switch (style) {
        case StampStyle::Serial:
            return "SN,";
        case StampStyle::DateAndTime:
            return "DATE,TIME,";
        case StampStyle::Time:
            return "TIME,";
        case StampStyle::Iso:
            return "TIMESTAMP,";
        case StampStyle::None:
            break;
    }
    return "";
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

std::string HeaderColumn(const std::string& name, Delimiter delimiter) {
    // Names never hold a double quote themselves (the save options refuse it).
    if (name.find(SeparatorText(delimiter)) == std::string::npos &&
        name.find(',') == std::string::npos) {
        return name;
    }
    return '"' + name + '"';
}

std::string DateText(const platform::DateTime& when) {
    // Negative years do not occur on a real clock; the modulo keeps two digits anyway.
    const int year = ((when.year % 100) + 100) % 100;
    return TwoDigits(when.day, '/', when.month, '/', year);
}

std::string TimeText(const platform::DateTime& when) {
    return TwoDigits(when.hour, ':', when.minute, ':', when.second);
}

std::string StampFields(StampStyle style, const platform::DateTime& when, std::int32_t serial) {
    switch (style) {
        case StampStyle::Serial:
            return std::to_string(serial) + kStampFieldEnd;
        case StampStyle::DateAndTime:
            return DateText(when) + kStampFieldEnd + TimeText(when) + kStampFieldEnd;
        case StampStyle::Time:
            return TimeText(when) + kStampFieldEnd;
        case StampStyle::Iso:
            return platform::IsoLocalText(when) + kStampFieldEnd;
        case StampStyle::None:
            break;
    }
    return {};
}

std::optional<StampRead> ReadTimeStamp(std::string_view line) {
    StampRead read;
    platform::DateTime& t = read.when;
    if (const std::size_t length = platform::ReadIsoText(line, t);
        length > 0 && EndsFieldAt(line, length)) {
        read.style = StampStyle::Iso;
        read.length = length + 1;
        return read;
    }
    if (ReadDate(line, t) && EndsFieldAt(line, kDateTextLength) &&
        platform::ReadTimeOfDay(line.substr(kDateTextLength + 1), t) &&
        EndsFieldAt(line, kDateAndTimeFieldsLength - 1)) {
        if (!platform::IsValidDate(t)) {
            return std::nullopt;
        }
        read.style = StampStyle::DateAndTime;
        read.length = kDateAndTimeFieldsLength;
        return read;
    }
    if (platform::ReadTimeOfDay(line, t) && EndsFieldAt(line, kTimeTextLength)) {
        read.style = StampStyle::Time;
        read.length = kTimeFieldsLength;
        return read;
    }
    return std::nullopt;
}

std::optional<std::int64_t> ReadSerialField(std::string_view line) {
    const std::size_t end = line.find(kStampFieldEnd);
    if (end == 0 || end == std::string_view::npos || line.front() == '-') {
        return std::nullopt;
    }
    std::int64_t number = 0;
    const auto [stop, error] = std::from_chars(line.data(), line.data() + end, number);
    if (error != std::errc{} || stop != line.data() + end) {
        return std::nullopt;
    }
    return number;
}

std::optional<HeaderStart> ReadHeaderStart(std::string_view line) {
    for (const StampStyle style : kStampStyles) {
        const std::string_view names = StampColumnNames(style);
        if (!names.empty() && line.starts_with(names)) {
            return HeaderStart{style, names.size()};
        }
    }
    return std::nullopt;
}

std::optional<Delimiter> ValueSeparator(std::string_view line, StampStyle style) {
    return SeparatorAmong(line.substr(std::min(line.size(), StampFieldsLength(style, line))));
}

std::optional<Delimiter> SeparatorAmong(std::string_view values) {
    // Four spaces before one, as they hold it.
    for (const Delimiter delimiter : {Delimiter::Semicolon, Delimiter::Tab, Delimiter::FourSpaces,
                                      Delimiter::Space, Delimiter::Comma}) {
        if (values.find(SeparatorText(delimiter)) != std::string_view::npos) {
            return delimiter;
        }
    }
    return std::nullopt;
}

std::vector<std::string> SplitNames(std::string_view names, Delimiter delimiter) {
    const std::string_view separator = SeparatorText(delimiter);
    std::vector<std::string> result;
    std::size_t at = 0;
    while (true) {
        std::string name;
        std::size_t end = 0;
        const std::size_t close = names.find('"', at + 1);
        if (IsAt(names, at, '"') && close != std::string_view::npos &&
            (close + 1 == names.size() || names.substr(close + 1).starts_with(separator))) {
            name = names.substr(at + 1, close - at - 1);
            end = close + 1 == names.size() ? std::string_view::npos : close + 1;
        } else {
            end = names.find(separator, at);
            name = names.substr(at, end == std::string_view::npos ? end : end - at);
        }
        result.push_back(std::move(name));
        if (end == std::string_view::npos || result.size() > kMaxLogColumns) {
            return result;
        }
        at = end + separator.size();
    }
}

}  // namespace vantrel
