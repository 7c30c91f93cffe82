// An event in words, as a run without windows prints it: guards a field left out
// or in another order, a float reading written with the digits of its double, and
// the words of the kinds and levels.
#include <gtest/gtest.h>

#include <limits>

#include "alarms/EventText.h"

namespace vantrel::testing {
namespace {

using alarms::EventKind;

TEST(EventTextTest, EachEventIsOneLineOfItsKindChannelLevelValueAndText) {
    const struct {
        alarms::RunEvent event;
        const char* line;
    } cases[] = {
        {{EventKind::AlarmRaised,
          {},
          "CH3",
          alarms::AlarmLevel::Critical,
          static_cast<double>(81.2f),
          "CH3 above 80",
          {}},
         "Event: alarm raised CH3 critical 81.2: CH3 above 80"},
        {{EventKind::AlarmCleared, {}, "CH12", alarms::AlarmLevel::Warning, 3.59, "", {}},
         "Event: alarm cleared CH12 warning 3.59"},
        {{EventKind::CardLost, {}, "card 2", alarms::AlarmLevel::Critical, {}, "Port lost", {}},
         "Event: card lost card 2 critical: Port lost"},
        {{EventKind::AlarmRaised, {}, "D17", alarms::AlarmLevel::Warning, 1.0, "D17 is on", {}},
         "Event: alarm raised D17 warning 1: D17 is on"},
        {{EventKind::LogSplit, {}, "", {}, {}, "run_002.csv", {}},
         "Event: new split file: run_002.csv"},
        {{EventKind::TaskStarted, {}, "", {}, {}, "", {}}, "Event: task started"},
        {{EventKind::Marker, {}, "", {}, -0.0001, "cold start", {}},
         "Event: marker -1e-04: cold start"},
        {{EventKind::NoData, {}, "card 1", {}, std::numeric_limits<double>::infinity(), "", {}},
         "Event: no data card 1 inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(alarms::EventLine(c.event), c.line);
    }
}

TEST(EventTextTest, AValueThatIsNoFloatKeepsEveryDigitOfItsDouble) {
    EXPECT_EQ(alarms::EventValueText(0.1), "0.1");
    EXPECT_EQ(alarms::EventValueText(static_cast<double>(0.1f)), "0.1");
    EXPECT_EQ(alarms::EventValueText(1e300), "1e+300");
    EXPECT_EQ(alarms::EventValueText(16777217.0), "16777217");
}

}  // namespace
}  // namespace vantrel::testing
