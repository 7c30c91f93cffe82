#include "logging/EventLine.h"

#include <charconv>

#include "logging/LogFormat.h"
#include "platform/DateTimeText.h"

namespace vantrel {

namespace {

// The shortest text that reads back as the same double.
std::string ValueField(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
}

}  // namespace

std::string EventsFilePath(const std::string& logPath) {
    return logPath + std::string(kEventsFileSuffix);
}

std::string EventLine(const alarms::RunEvent& event) {
    std::string line = platform::IsoLocalText(event.at);
    line += ',';
    line += CsvField(alarms::EventKindName(event.kind));
    line += ',';
    line += CsvField(event.channel);
    line += ',';
    if (event.level) {
        line += CsvField(alarms::LevelText(*event.level));
    }
    line += ',';
    if (event.value) {
        line += ValueField(*event.value);
    }
    line += ',';
    line += CsvField(event.text);
    line += "\r\n";
    return line;
}

}  // namespace vantrel
