#pragma once

// The events file kept beside each log file: CSV with a header, CR LF line ends,
// one event a line. History reads it back, so its columns and quoting stay as
// they are: time,kind,channel,level,value,text.

#include <string>
#include <string_view>

#include "alarms/RunEvent.h"

namespace vantrel {

inline constexpr std::string_view kEventsFileSuffix = ".events.csv";
inline constexpr std::string_view kEventsHeader = "time,kind,channel,level,value,text\r\n";

// "run.csv" keeps its events in "run.csv.events.csv".
std::string EventsFilePath(const std::string& logPath);
// The event's line with its CR LF: the local time with its offset, the kind's
// word, the channel, the level's word and the value (both empty when the event has
// none) and the text. A field holding a comma, a double quote, CR or LF is quoted.
std::string EventLine(const alarms::RunEvent& event);

}  // namespace vantrel
