// The alarm list's texts: the status bar's line with its count and worst alarm,
// values and times as shown, and the history of alarm events newest first.
#include <gtest/gtest.h>

#include "alarms/AlarmListText.h"

namespace vantrel::alarms {
namespace {

ActiveAlarm Active(const char* text) {
    ActiveAlarm alarm;
    alarm.text = text;
    return alarm;
}

TEST(AlarmListText, StatusLineCountsAndNamesTheFirstActiveAlarm) {
    EXPECT_EQ(ActiveAlarmsLine({}), "");
    EXPECT_EQ(ActiveAlarmsLine({Active("CH3 above 80")}), "1 alarm: CH3 above 80");
    EXPECT_EQ(ActiveAlarmsLine({Active("CH3 above 80"), Active("D17 on")}),
              "2 alarms: CH3 above 80");
}

TEST(AlarmListText, ValuesAndTimesAsShown) {
    EXPECT_EQ(ShownValue(std::nullopt), "");
    EXPECT_EQ(ShownValue(80.5), "80.5");
    EXPECT_EQ(ShownValue(static_cast<double>(0.385625f)), "0.385625");
    EXPECT_EQ(ShownValue(-3.59), "-3.59");
    EXPECT_EQ(ShownTime({2026, 1, 2, 3, 4, 5, 999, 60}), "2026-01-02 03:04:05");
}

TEST(AlarmListText, HistoryKeepsAlarmEventsNewestFirstUpToTheLimit) {
    std::deque<RunEvent> events;
    auto add = [&](EventKind kind, const char* text, int second) {
        RunEvent event;
        event.kind = kind;
        event.text = text;
        event.at = {2026, 12, 6, 14, 5, second};
        events.push_back(event);
    };
    add(EventKind::AlarmRaised, "CH3 above 80", 1);
    add(EventKind::TaskStopped, "Task stopped", 2);
    add(EventKind::AlarmAcknowledged, "CH3 above 80", 3);
    add(EventKind::Marker, "bath filled", 4);
    add(EventKind::AlarmCleared, "CH3 above 80", 5);

    const std::vector<AlarmHistoryRow> all = AlarmHistory(events, 10);
    ASSERT_EQ(all.size(), 3U);
    EXPECT_EQ(all[0].event, "cleared");
    EXPECT_EQ(all[0].time, "2026-12-06 14:05:05");
    EXPECT_EQ(all[1].event, "acknowledged");
    EXPECT_EQ(all[2].event, "raised");
    EXPECT_EQ(AlarmHistory(events, 2).size(), 2U);
}

}  // namespace
}  // namespace vantrel::alarms
