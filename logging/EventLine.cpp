#include "logging/EventLine.h"

#include <charconv>

#include "platform/DateTimeText.h"

namespace vantrel {

namespace {

void AddField(std::string& line, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        line += field;
        return;
    }
    line += '"';
    for (const char c : field) {
        line += c;
        if (c == '"') {
            line += '"';
        }
    }
    line += '"';
}

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
    AddField(line, alarms::EventKindName(event.kind));
    line += ',';
    AddField(line, event.channel);
    line += ',';
    if (event.level) {
        AddField(line, alarms::LevelText(*event.level));
    }
    line += ',';
    if (event.value) {
        line += ValueField(*event.value);
    }
    line += ',';
    AddField(line, event.text);
    line += "\r\n";
    return line;
}

}  // namespace vantrel
