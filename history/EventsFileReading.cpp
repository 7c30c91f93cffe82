#include "history/EventsFileReading.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "platform/DateTimeText.h"

namespace vantrel::history {

namespace {

constexpr std::size_t kFields = 6;

struct Record {
    std::vector<std::string> fields;
    bool wellFormed = true;
    bool blank = false;
};

std::size_t AfterLineEnd(std::string_view text, std::size_t pos) {
    const std::size_t end = text.find('\n', pos);
    return end == std::string_view::npos ? text.size() : end + 1;
}

// Whether a line ends at pos (CR LF, LF, a lone CR or the end of the text); moves
// pos past it.
bool TakeLineEnd(std::string_view text, std::size_t& pos) {
    if (pos >= text.size()) {
        return true;
    }
    if (text[pos] == '\n') {
        ++pos;
        return true;
    }
    if (text[pos] == '\r') {
        pos += pos + 1 < text.size() && text[pos + 1] == '\n' ? 2 : 1;
        return true;
    }
    return false;
}

// The record starting at pos; pos moves past its line end. A malformed record
// leaves pos after the first line end following its start, so one stray quote
// costs one line, not the rest of the file.
Record NextRecord(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    Record record;
    std::string field;
    const auto malformed = [&] {
        record.wellFormed = false;
        pos = AfterLineEnd(text, start);
        return record;
    };
    if (TakeLineEnd(text, pos)) {
        record.blank = true;
        return record;
    }
    for (;;) {
        if (pos < text.size() && text[pos] == '"') {
            ++pos;
            for (;;) {
                if (pos >= text.size()) {
                    return malformed();
                }
                if (text[pos] != '"') {
                    field += text[pos++];
                } else if (pos + 1 < text.size() && text[pos + 1] == '"') {
                    field += '"';
                    pos += 2;
                } else {
                    ++pos;
                    break;
                }
            }
        } else {
            while (pos < text.size() && text[pos] != ',' && text[pos] != '\r' &&
                   text[pos] != '\n') {
                if (text[pos] == '"') {
                    return malformed();
                }
                field += text[pos++];
            }
        }
        record.fields.push_back(std::move(field));
        field.clear();
        if (TakeLineEnd(text, pos)) {
            return record;
        }
        if (text[pos] != ',') {
            return malformed();
        }
        ++pos;
    }
}

bool IsHeader(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& field : fields) {
        line += (&field == &fields.front() ? "" : ",") + field;
    }
    return line == kEventsHeader;
}

std::optional<alarms::AlarmLevel> LevelFromText(std::string_view text) {
    for (const alarms::AlarmLevel level :
         {alarms::AlarmLevel::Warning, alarms::AlarmLevel::Critical}) {
        if (text == alarms::LevelText(level)) {
            return level;
        }
    }
    return std::nullopt;
}

std::optional<alarms::RunEvent> EventOf(std::vector<std::string>& fields) {
    if (fields.size() != kFields) {
        return std::nullopt;
    }
    alarms::RunEvent event;
    const std::string& time = fields[0];
    if (platform::ReadIsoText(time, event.at) != time.size() || time.empty() ||
        !platform::IsValidDate(event.at)) {
        return std::nullopt;
    }
    const std::optional<alarms::EventKind> kind = alarms::EventKindFromName(fields[1]);
    if (!kind) {
        return std::nullopt;
    }
    event.kind = *kind;
    event.channel = std::move(fields[2]);
    if (!fields[3].empty()) {
        event.level = LevelFromText(fields[3]);
        if (!event.level) {
            return std::nullopt;
        }
    }
    if (const std::string& value = fields[4]; !value.empty()) {
        double number = 0.0;
        const auto [end, error] =
            std::from_chars(value.data(), value.data() + value.size(), number);
        if (error != std::errc() || end != value.data() + value.size()) {
            return std::nullopt;
        }
        event.value = number;
    }
    event.text = std::move(fields[5]);
    return event;
}

}  // namespace

std::string EventsFilePath(const std::string& logPath) {
    return logPath + std::string(kEventsFileSuffix);
}

EventsReading ReadEventsText(std::string_view text) {
    EventsReading reading;
    std::size_t pos = 0;
    bool first = true;
    while (pos < text.size()) {
        Record record = NextRecord(text, pos);
        if (record.blank) {
            continue;
        }
        const bool header = first && record.wellFormed && IsHeader(record.fields);
        first = false;
        if (header) {
            continue;
        }
        std::optional<alarms::RunEvent> event;
        if (record.wellFormed) {
            event = EventOf(record.fields);
        }
        if (event) {
            reading.events.push_back(std::move(*event));
        } else {
            ++reading.skippedLines;
        }
    }
    return reading;
}

EventsFile ReadEventsFile(const std::string& logPath) {
    EventsFile file;
    const std::string path = EventsFilePath(logPath);
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return file;
    }
    file.found = true;
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        file.unreadable = true;
        return file;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    file.reading = ReadEventsText(text);
    return file;
}

}  // namespace vantrel::history
