#pragma once

// The alarms as the window shows them: the status bar's line, the rows of the
// alarm list, and the channel an alarm marks in the views.

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "alarms/Alarm.h"
#include "alarms/RunEvent.h"
#include "platform/Clock.h"

namespace vantrel::alarms {

// "1 alarm: CH3 above 80", "3 alarms: COM lost: the card's port went away" with
// the worst alarm (the first of the active ones: critical first, newest first);
// empty when none is active.
std::string ActiveAlarmsLine(const std::vector<ActiveAlarm>& active);

// "2026-12-06 14:05:09": a moment as the list and the tool tips show it.
std::string ShownTime(const platform::DateTime& at);
// "80.5", "0.385625": six significant digits; empty when there is no value.
std::string ShownValue(const std::optional<double>& value);

// The channel slot the alarm is about: a rule on a channel, or a channel's
// built-in fault. Nothing for a rule on a line or a fault of a whole card.
std::optional<int> AlarmChannel(const AlarmId& id, const AlarmSettings& settings);

// One row of the recent history: an alarm raised, cleared or acknowledged.
struct AlarmHistoryRow {
    std::string time;
    std::string event;  // "raised", "cleared", "acknowledged"
    std::string channel;
    std::string text;
    std::optional<AlarmLevel> level;
    std::string value;
};

// The alarm events among the run's events, newest first, at most limit of them.
std::vector<AlarmHistoryRow> AlarmHistory(const std::deque<RunEvent>& events, std::size_t limit);

}  // namespace vantrel::alarms
