// Which channels the live views mark: the worst active alarm on each channel (a
// rule by the slot it watches, a channel fault by its slot, a rule on a line or a
// card's fault on none), and a card's values not live when its link is not fine
// or its frames went stale.
#include <gtest/gtest.h>

#include "engine/CardView.h"
#include "views/ChannelMarks.h"

namespace vantrel {
namespace {

using alarms::AlarmKind;
using alarms::AlarmLevel;

alarms::ActiveAlarm Active(AlarmKind kind, int index, AlarmLevel level) {
    alarms::ActiveAlarm alarm;
    alarm.id = {kind, index};
    alarm.level = level;
    return alarm;
}

AcquisitionState BothCardsStreaming() {
    AcquisitionState state;
    for (int card = 0; card < 2; ++card) {
        CardView view = CardOf(state, card);
        view.PortOpen = true;
        view.CardConnected = true;
        view.TaskRunning = true;
    }
    return state;
}

TEST(ChannelMarks, AlarmsMarkTheChannelTheyWatchAtTheirWorstLevel) {
    alarms::AlarmSettings settings;
    settings.rules.resize(3);
    settings.rules[0].slot = 12;
    settings.rules[1].slot = 12;
    settings.rules[2].input = alarms::AlarmRule::Input::Line;
    settings.rules[2].slot = 5;
    const std::vector<alarms::ActiveAlarm> active = {
        Active(AlarmKind::Rule, 1, AlarmLevel::Critical),
        Active(AlarmKind::Rule, 0, AlarmLevel::Warning),
        Active(AlarmKind::Rule, 2, AlarmLevel::Critical),    // a line: no channel
        Active(AlarmKind::LoopLow, 3, AlarmLevel::Warning),  // channel slot 3
        Active(AlarmKind::NoData, 1, AlarmLevel::Critical),  // card 2: no channel
        Active(AlarmKind::Rule, 7, AlarmLevel::Critical),    // a rule since removed
    };
    const ChannelMarks marks = MarkChannels(BothCardsStreaming(), settings, active, {});
    for (int slot = 0; slot < kUsedChannels; ++slot) {
        const auto& mark = marks[static_cast<std::size_t>(slot)];
        EXPECT_TRUE(mark.live) << slot;
        const std::optional<AlarmLevel> expected = slot == 12  ? std::optional(AlarmLevel::Critical)
                                                   : slot == 3 ? std::optional(AlarmLevel::Warning)
                                                               : std::nullopt;
        EXPECT_EQ(mark.alarm, expected) << slot;
    }
}

TEST(ChannelMarks, ACardsValuesAreNotLiveWhenItsLinkIsNotFineOrItsFramesStale) {
    const platform::DateTime last{2026, 12, 6, 14, 5, 9, 250, 60};
    struct Case {
        const char* name;
        void (*spoil)(CardView&);
    };
    const Case cases[] = {
        {"port lost", [](CardView& card) { card.PortLost = true; }},
        {"no answer", [](CardView& card) { card.AwaitingAnswer = true; }},
        {"frames stopped", [](CardView& card) { card.DataStale = true; }},
        {"stale, task stopped",
         [](CardView& card) {
             card.DataStale = true;
             card.TaskRunning = false;
         }},
        {"not connected", [](CardView& card) { card.CardConnected = false; }},
    };
    for (const Case& c : cases) {
        AcquisitionState state = BothCardsStreaming();
        CardView card2 = CardOf(state, 1);
        c.spoil(card2);
        const ChannelMarks marks = MarkChannels(state, {}, {}, {std::nullopt, last});
        EXPECT_TRUE(marks[7].live) << c.name;
        EXPECT_FALSE(marks[8].live) << c.name;
        EXPECT_FALSE(marks[15].live) << c.name;
        EXPECT_EQ(NotLiveText(marks[8]), "Not live: last frame at 2026-12-06 14:05:09") << c.name;
        EXPECT_EQ(NotLiveText(marks[7]), "") << c.name;
    }
}

}  // namespace
}  // namespace vantrel
