// Any bytes given as an events file must read without a crash, every line either
// an event or counted as skipped; the events read, written back with every field
// quoted, must read again whole and unchanged.
#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "history/EventsFileReading.h"
#include "platform/DateTimeText.h"

namespace {

std::string Quoted(const std::string& field) {
    std::string quoted = "\"";
    for (const char c : field) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

std::string ValueText(const std::optional<double>& value) {
    if (!value) {
        return {};
    }
    std::array<char, 32> text{};
    return {text.data(), std::to_chars(text.data(), text.data() + text.size(), *value).ptr};
}

std::string Line(const vantrel::alarms::RunEvent& event) {
    using namespace vantrel;
    return Quoted(platform::IsoLocalText(event.at)) + "," +
           Quoted(alarms::EventKindName(event.kind)) + "," + Quoted(event.channel) + "," +
           Quoted(event.level ? alarms::LevelText(*event.level) : "") + "," +
           Quoted(ValueText(event.value)) + "," + Quoted(event.text) + "\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const history::EventsReading read = history::ReadEventsText(text);
    std::size_t lineEnds = 1;
    for (const char c : text) {
        lineEnds += c == '\n' || c == '\r' ? 1 : 0;
    }
    if (read.events.size() + read.skippedLines > lineEnds) {
        std::abort();
    }
    std::string written(history::kEventsHeader);
    written += "\r\n";
    for (const alarms::RunEvent& event : read.events) {
        written += Line(event);
    }
    const history::EventsReading again = history::ReadEventsText(written);
    if (again.skippedLines != 0 || again.events.size() != read.events.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < read.events.size(); ++i) {
        if (Line(again.events[i]) != Line(read.events[i])) {
            std::abort();
        }
    }
    return 0;
}
