#pragma once

// Reading back the events file kept beside a log ("<log path>.events.csv"): RFC
// 4180 rows of time, kind, channel, level, value and text under their header. A
// line that is not an event (a wrong field count, a time, kind, level or value
// that does not read, a quote left open) is skipped and counted; the rest are
// kept in the order of the file.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "alarms/RunEvent.h"

namespace vantrel::history {

inline constexpr std::string_view kEventsFileSuffix = ".events.csv";
inline constexpr std::string_view kEventsHeader = "time,kind,channel,level,value,text";

// The events file beside the log at logPath.
std::string EventsFilePath(const std::string& logPath);

struct EventsReading {
    std::vector<alarms::RunEvent> events;
    std::size_t skippedLines = 0;
};

EventsReading ReadEventsText(std::string_view text);

struct EventsFile {
    bool found = false;
    // The file is there but could not be read.
    bool unreadable = false;
    EventsReading reading;
};

// The events file beside the log at logPath; found is false when there is none.
EventsFile ReadEventsFile(const std::string& logPath);

}  // namespace vantrel::history
