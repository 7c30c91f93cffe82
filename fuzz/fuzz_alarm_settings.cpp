// Any [alarms] part of vantrel.ini: its lines as keys ("[name]" opens a section),
// read into rules and fault switches. No more than 64 rules, every problem one
// line of the message with its control characters escaped, and what is written
// reads back the same with no problem. The rules read are then judged against
// frames made of the input's bytes: the active alarms stay critical first and
// newest first, and each raised alarm is active until it is cleared.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "alarms/AlarmEvaluator.h"
#include "alarms/AlarmSettings.h"
#include "platform/DateTimeText.h"

namespace {

using namespace vantrel;

ini::FileTexts FileOf(const std::string& text) {
    std::istringstream lines(text);
    ini::FileTexts file;
    std::string section = "alarms";
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with('[')) {
            section = line.substr(1, line.find(']') - 1);
        } else if (const auto equals = line.find('='); equals != std::string::npos) {
            file[section][line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    return file;
}

void CheckOrder(const alarms::AlarmEvaluator& evaluator) {
    const auto& active = evaluator.active();
    for (std::size_t i = 1; i < active.size(); ++i) {
        const bool inOrder =
            active[i - 1].level > active[i].level ||
            (active[i - 1].level == active[i].level && active[i - 1].sequence > active[i].sequence);
        if (!inOrder) {
            std::abort();
        }
    }
}

// Frames from the bytes: each byte picks a card, a kind of frame and a value.
void Judge(const alarms::AlarmSettings& settings, const std::uint8_t* data, std::size_t size) {
    alarms::AlarmEvaluator evaluator(settings);
    evaluator.setChannelsMarked(0xFFFF, {});
    std::int64_t ms = 1'780'000'000'000;
    for (std::size_t i = 0; i + 2 < size; i += 3) {
        ms += data[i] * 10;
        const platform::DateTime at = platform::LocalDateTime(ms, 0);
        const int card = data[i] & 1;
        alarms::AlarmEvaluator::Events events;
        switch (data[i + 1] % 4) {
            case 0: {
                ConvertedFrame frame;
                frame.card = card;
                frame.convertedAt = at;
                for (std::size_t c = 0; c < frame.values.size(); ++c) {
                    if (data[i + 2] > c * 30) {
                        frame.values[c] = static_cast<float>(data[i + 2]) - 100.0f;
                        frame.loopMilliamps[c] = data[i + 2] / 10.0;
                        frame.tableReadings[c] = static_cast<TableReading>(data[i + 2] % 3);
                    }
                }
                events = evaluator.onFrame(frame);
                break;
            }
            case 1:
                events = evaluator.onFrame(DigitalFrame{card, at, data[i + 2], 0});
                break;
            case 2:
                events = evaluator.onLinkFault(card,
                                               static_cast<alarms::LinkFault>(data[i + 2] % 4), at);
                break;
            default:
                events = data[i + 2] % 2 == 0
                             ? evaluator.acknowledgeAll(at)
                             : evaluator.setChannelsMarked(
                                   static_cast<std::uint16_t>(data[i + 2] * 257), at);
        }
        for (const alarms::AlarmEvent& event : events) {
            const bool raised = event.kind == alarms::AlarmEvent::Kind::Raised;
            if (event.subject.empty() || event.text.empty() ||
                (raised &&
                 std::none_of(evaluator.active().begin(), evaluator.active().end(),
                              [&](const auto& alarm) { return alarm.id == event.id; }) &&
                 std::none_of(events.begin(), events.end(), [&](const auto& later) {
                     return later.id == event.id && later.kind != event.kind;
                 }))) {
                std::abort();
            }
        }
        CheckOrder(evaluator);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ini::FileTexts file = FileOf(text);
    std::vector<ini::Problem> problems;
    const alarms::AlarmSettings read = alarms::ReadAlarmSettings(file, problems);
    const auto section = file.find("alarms");
    const std::size_t keys = section == file.end() ? 0 : section->second.size();
    if (read.rules.size() > alarms::kMaxRules || problems.size() > keys) {
        std::abort();
    }
    const std::string message = ini::ProblemsMessage(problems);
    const bool controls = std::any_of(message.begin(), message.end(), [](char c) {
        return (static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F;
    });
    if (controls || static_cast<std::size_t>(std::count(message.begin(), message.end(), '\n')) !=
                        problems.size()) {
        std::abort();
    }
    std::vector<ini::Problem> again;
    if (!(alarms::ReadAlarmSettings({{"alarms", alarms::AlarmSettingsTexts(read)}}, again) ==
          read) ||
        !again.empty()) {
        std::abort();
    }
    Judge(read, data, size);
    return 0;
}
