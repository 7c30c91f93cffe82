#pragma once

// The lines of the log file: the optional header and one record per interval.
// A line is stamp fields, each ended by a comma whatever the separator, then the
// columns of the channels marked for saving, in ascending slot order, joined by
// the chosen separator. Lines are returned without their CR LF.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/AcquisitionState.h"
#include "platform/Clock.h"

namespace vantrel {

// LogDelimiter: 1 is ",", 2 is four spaces (not a tab), any other value one blank.
std::string_view SeparatorText(int delimiter);
// The stamp that is unambiguous across a daylight-saving change and reads the same
// in every locale: local time with milliseconds and its offset from UTC.
inline constexpr int kIsoStampStyle = 5;

// LogStampStyle: 1 "SN,", 2 "DATE,TIME,", 3 "TIME,", 5 "TIMESTAMP,", any other
// value nothing.
std::string_view StampColumnNames(int stampStyle);

bool AnyChannelMarked(const AcquisitionState& state);

// "dd/mm/yy" and 24-hour "hh:mm:ss", every part two digits.
std::string DateText(const platform::DateTime& when);
std::string TimeText(const platform::DateTime& when);

// The channel names of the marked channels behind the stamp column names; a name
// holding the separator or a comma is put in double quotes.
std::string HeaderLine(const AcquisitionState& state);

// The stamp fields of a record for LogStampStyle: the serial number, the date and
// time, the time, the ISO 8601 time ("2026-12-06T14:05:09.250+01:00"), or nothing.
std::string RecordStamp(int stampStyle, const platform::DateTime& when, std::int32_t sampleNo);
// The latest value of each channel slot: what the last frame of its card gave it,
// or, where that frame failed, the last value it was converted to.
using LatestValues = Slots<float, kUsedChannels>;
// The latest values of the marked channels, joined by the separator.
std::string RecordValues(const AcquisitionState& state, const LatestValues& values);

}  // namespace vantrel
