#pragma once

// The log file's layout, both ways: what the logger writes and what File > Open Log
// reads back. A line is stamp fields, each ended by a comma whatever the separator,
// then the columns joined by the chosen separator; the optional header names the
// stamp columns, then the channels. Lines end in CR LF (kLineEnd).
//
// The stamp style, delimiter and interval unit are kept as numeric codes in
// vtrls.con and the run state file; the enums carry those codes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"

namespace vantrel {

enum class StampStyle : std::int16_t {
    Serial = 1,       // "17,"
    DateAndTime = 2,  // "06/12/26,14:05:09,"
    Time = 3,         // "14:05:09,"
    None = 4,         // values only
    Iso = 5,          // "2026-12-06T14:05:09.250+01:00,": unambiguous across a
                      // daylight-saving change and the same in every locale
};
// File > Save offers the first three; vantrel.ini offers all five.
enum class Delimiter : std::int16_t {
    Comma = 1,
    FourSpaces = 2,
    Space = 3,
    Semicolon = 4,
    Tab = 5
};
enum class IntervalUnit : std::int16_t { Seconds = 1, Minutes = 2, Hours = 3 };

inline constexpr int kLastStampStyleCode = static_cast<int>(StampStyle::Iso);
inline constexpr int kLastDelimiterCode = static_cast<int>(Delimiter::Space);
inline constexpr int kLastIntervalUnitCode = static_cast<int>(IntervalUnit::Hours);

// A stored code as the logger takes it. A damaged settings file may hold any
// number: an unknown stamp style writes no stamp, an unknown delimiter one blank,
// an unknown unit counts hours.
StampStyle StampStyleOf(int code);
Delimiter DelimiterOf(int code);
IntervalUnit IntervalUnitOf(int code);
template <typename Choice>
constexpr std::int16_t CodeOf(Choice choice) {
    return static_cast<std::int16_t>(choice);
}

// More columns than any log of sixteen channels holds; a longer line is not a log's.
inline constexpr std::size_t kMaxLogColumns = 256;

// "," or four spaces or one blank (File > Save's), ";" or a tab.
constexpr std::string_view SeparatorText(Delimiter delimiter) {
    switch (delimiter) {
        case Delimiter::Comma:
            return ",";
        case Delimiter::FourSpaces:
            return "    ";
        case Delimiter::Semicolon:
            return ";";
        case Delimiter::Tab:
            return "\t";
        case Delimiter::Space:
            break;
    }
    return " ";
}
// The stamp fields always end in a comma.
inline constexpr char kStampFieldEnd = ',';

// ---- Writing

// "SN,", "DATE,TIME,", "TIME,", "TIMESTAMP," or nothing.
std::string_view StampColumnNames(StampStyle style);
// A channel name as a header column: in double quotes when it holds the separator
// or a comma, which would split it into two columns in a spreadsheet.
std::string HeaderColumn(const std::string& name, Delimiter delimiter);
// A field of a comma-separated file (the events file, a CSV export): quoted when
// it holds a comma, a double quote or a line end, its inner quotes doubled.
std::string CsvField(std::string_view text);

// "dd/mm/yy" and 24-hour "hh:mm:ss", every part two digits.
std::string DateText(const platform::DateTime& when);
std::string TimeText(const platform::DateTime& when);
// The stamp fields of a record: the serial number, the date and time, the time,
// the ISO 8601 local time with its offset, or nothing.
std::string StampFields(StampStyle style, const platform::DateTime& when, std::int32_t serial);

// ---- Reading

// The stamp fields of the styles that have a fixed shape (date and time, time,
// ISO) at the start of a record line: the moment and where the values begin.
// Two-digit years are this century's. Time leaves the date fields as they are.
struct StampRead {
    StampStyle style = StampStyle::None;
    platform::DateTime when;
    std::size_t length = 0;
};
std::optional<StampRead> ReadTimeStamp(std::string_view line);
// The whole number before a line's first comma (digits only): a serial number, or
// the first value of a record without stamp.
std::optional<std::int64_t> ReadSerialField(std::string_view line);

// The stamp announced by a header's first columns, and where the channel names
// begin; nothing for a line that starts with no stamp column names.
struct HeaderStart {
    StampStyle style = StampStyle::None;
    std::size_t namesAt = 0;
};
std::optional<HeaderStart> ReadHeaderStart(std::string_view line);

// The separator that the values of a record line of that stamp style use; nothing
// for a single value.
std::optional<Delimiter> ValueSeparator(std::string_view line, StampStyle style);
// The same for the values alone. A comma only when there is no other, since beside
// another separator it is the decimal mark.
std::optional<Delimiter> SeparatorAmong(std::string_view values);
// The names of a header's channel columns, split at the separator outside double
// quotes, quotes removed.
std::vector<std::string> SplitNames(std::string_view names, Delimiter separator);

}  // namespace vantrel
