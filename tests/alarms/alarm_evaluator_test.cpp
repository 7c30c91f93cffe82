// The alarm evaluator: guards a limit compared the wrong way or inclusively, a
// hysteresis applied on the wrong side or before raising, a delay off by a frame
// or not restarted, a latched alarm that clears itself or never clears, an
// acknowledgement that clears a live alarm, the list's order; the 4-20 mA limits
// at 3.59/3.60 and 21.00/21.01 mA, an open or shorted sensor, an ice-cold type J
// taken for a fault, a failed conversion making up a value, a lost card, faults
// raised for channels not in use or switched off; a derived channel's rule judged
// on the wrong place or kept after its channel went, a channel's rule comparing
// the converted value instead of the scaled one.
#include <gtest/gtest.h>

#include <vector>

#include "alarms/AlarmEvaluator.h"
#include "alarms/RuleFields.h"
#include "alarms/RuleText.h"
#include "engine/CardView.h"
#include "engine/InputTypes.h"
#include "platform/DateTimeText.h"
#include "tests/engine/Tables.h"

namespace vantrel::alarms {
namespace {

constexpr std::int64_t kStartMs = 1'780'000'000'000;

platform::DateTime At(std::int64_t ms) {
    return platform::LocalDateTime(kStartMs + ms, 60);
}

AlarmSettings Rules(std::initializer_list<const char*> texts) {
    AlarmSettings settings;
    for (const char* text : texts) {
        settings.rules.push_back(std::get<AlarmRule>(ParseRule(text)));
    }
    return settings;
}

// A frame of the first slot's card with the values given and every other channel
// at 0; its conversion failed at the first slot without a value.
ConvertedFrame Analog(std::int64_t ms,
                      std::initializer_list<std::pair<int, std::optional<float>>> values) {
    ConvertedFrame frame;
    frame.card = CardOfChannelSlot(values.begin()->first);
    frame.convertedAt = At(ms);
    frame.values.fill(0.0f);
    for (const auto& [slot, value] : values) {
        frame.values[static_cast<std::size_t>(ChannelOfSlot(slot))] = value;
        if (!value && !frame.failure) {
            frame.failure = ConversionFailure{ConversionFailure::Kind::DivisionByZero, slot};
        }
    }
    // Read as converted, as a channel without a user scale is.
    for (std::size_t c = 0; c < frame.values.size(); ++c) {
        frame.scaled[c] = frame.values[c];
    }
    return frame;
}

struct Step {
    std::int64_t ms;
    double value;  // a line's state as 0 or 1
    bool active;
};

struct RuleCase {
    const char* rule;
    std::vector<Step> steps;
};

class RuleSteps : public ::testing::TestWithParam<RuleCase> {};

TEST_P(RuleSteps, RaiseAndClearAtTheirLimitsAndDelays) {
    const AlarmRule rule = std::get<AlarmRule>(ParseRule(GetParam().rule));
    AlarmEvaluator evaluator(AlarmSettings{{rule}, {}});
    for (const Step& step : GetParam().steps) {
        if (rule.input == AlarmRule::Input::Line) {
            const auto bit = static_cast<std::uint16_t>(step.value * (1 << (rule.slot % 16)));
            evaluator.onFrame(DigitalFrame{rule.slot / 16, At(step.ms), bit, 0});
        } else {
            evaluator.onFrame(Analog(step.ms, {{rule.slot, static_cast<float>(step.value)}}));
        }
        EXPECT_EQ(evaluator.active().size(), step.active ? 1u : 0u)
            << step.ms << " ms, value " << step.value;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RuleSteps,
    ::testing::Values(
        RuleCase{"CH3 above 80", {{0, 80, false}, {1, 80.5, true}, {2, 80, false}}},
        RuleCase{"CH3 above 80 hysteresis 2",
                 {{0, 81, true}, {1, 79, true}, {2, 78.5, true}, {3, 78, false}, {4, 79, false}}},
        RuleCase{"CH12 below -5 hysteresis 1",
                 {{0, -5, false}, {1, -5.5, true}, {2, -4.5, true}, {3, -4, false}}},
        RuleCase{"CH0 outside 4 to 20 hysteresis 1",
                 {{0, 4, false},
                  {1, 3.5, true},
                  {2, 4.5, true},
                  {3, 5, false},
                  {4, 20.5, true},
                  {5, 19.5, true},
                  {6, 19, false}}},
        RuleCase{"CH15 inside 20 to 30 hysteresis 1",
                 {{0, 19.5, false}, {1, 20, true}, {2, 30.5, true}, {3, 31.5, false}}},
        RuleCase{"CH3 above 80 on-delay 2 off-delay 1",
                 {{0, 81, false},
                  {1000, 70, false},  // the wait starts again
                  {1500, 81, false},
                  {3499, 81, false},
                  {3500, 81, true},
                  {4000, 70, true},
                  {4999, 70, true},
                  {5000, 70, false}}},
        RuleCase{"D17 on", {{0, 0, false}, {1, 1, true}, {2, 0, false}}},
        RuleCase{"D2 off off-delay 0.5", {{0, 0, true}, {1, 1, true}, {501, 1, false}}},
        RuleCase{"D31 changes", {{0, 1, false}, {1, 1, false}, {2, 0, true}, {3, 0, false}}}));

TEST(AlarmEvaluator, ALatchedAlarmWaitsForAcknowledgementAnAcknowledgedOneForItsCondition) {
    AlarmEvaluator evaluator(Rules({"CH1 above 10 latching", "CH2 above 10 critical latching"}));
    evaluator.onFrame(Analog(0, {{1, 11}, {2, 11}}));
    evaluator.onFrame(Analog(1, {{1, 9}, {2, 11}}));
    ASSERT_EQ(evaluator.active().size(), 2u);
    EXPECT_EQ(evaluator.active()[0].subject, "CH2");  // critical first
    EXPECT_EQ(evaluator.active()[1].text, "CH1 above 10");
    EXPECT_FALSE(evaluator.active()[1].conditionHolds);
    EXPECT_EQ(*evaluator.active()[1].valueAtRaise, 11.0);

    const auto events = evaluator.acknowledgeAll(At(3));
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, AlarmEvent::Kind::Acknowledged);
    EXPECT_EQ(events[1].kind, AlarmEvent::Kind::Acknowledged);
    EXPECT_EQ(events[2].kind, AlarmEvent::Kind::Cleared);
    EXPECT_EQ(events[2].subject, "CH1");
    ASSERT_EQ(evaluator.active().size(), 1u);
    EXPECT_TRUE(evaluator.active()[0].acknowledged);
    EXPECT_TRUE(evaluator.acknowledge(evaluator.active()[0].id, At(4)).empty());
    EXPECT_EQ(evaluator.onFrame(Analog(5, {{1, 9}, {2, 9}}))[0].kind, AlarmEvent::Kind::Cleared);
}

TEST(AlarmEvaluator, AValueThatDidNotConvertRaisesTheConversionFaultNotTheLevelAlarm) {
    AlarmEvaluator evaluator(Rules({"CH9 above 10", "CH10 below 10"}));
    evaluator.onFrame(Analog(0, {{9, 11}, {10, 20}}));
    const auto events = evaluator.onFrame(Analog(1, {{9, std::nullopt}, {10, 20}}));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].text, "Conversion failed: division by zero");
    EXPECT_EQ(events[0].level, AlarmLevel::Critical);
    const auto later = evaluator.onFrame(Analog(2, {{9, std::nullopt}, {10, std::nullopt}}));
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].text, "Not converted: CH9 failed before it");
    EXPECT_EQ(evaluator.active().size(), 3u);  // CH9's level alarm still stands
    evaluator.onFrame(Analog(3, {{9, 11}, {10, 20}}));
    EXPECT_EQ(evaluator.active().size(), 1u);
}

// Through the conversion as a card's frame goes. Card 2's channel 3; the 200 mV
// span is 30000 counts, so 21 mA fits in a count.
struct FaultCase {
    int inputType;
    std::int16_t count;
    float ambient;
    std::optional<AlarmKind> raised;
};

class BuiltInFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(BuiltInFaults, RaiseForAnyChannelInUseUnlessSwitchedOff) {
    constexpr int kSlot = 11;
    AcquisitionState state;
    testing::LoadShippedTables(state);
    state.InputType[kSlot] = static_cast<std::int16_t>(GetParam().inputType);
    state.CalSpan200mV[kSlot] = 30000;
    state.CalRTD[kSlot] = 8000;  // a low gain, so that 32767 counts are an open PT-100
    state.RawCounts[kSlot] = GetParam().count;
    state.AmbientTemp1 = GetParam().ambient;
    const auto failure = ConvertFrame(state, 1);
    const ConvertedFrame frame = TakeConvertedFrame(state, 1, At(0), failure);

    for (const bool inUse : {false, true}) {
        AlarmEvaluator evaluator;
        evaluator.setChannelsMarked(inUse ? 1u << kSlot : 0u, At(0));
        const auto events = evaluator.onFrame(frame);
        ASSERT_EQ(events.size(), inUse && GetParam().raised ? 1u : 0u);
        if (!events.empty()) {
            EXPECT_EQ(events[0].id, (AlarmId{*GetParam().raised, kSlot}));
            EXPECT_EQ(events[0].subject, "CH11");
        }
    }
    AlarmSettings off;
    off.faultsOff.fill(1u << kSlot);
    AlarmEvaluator switchedOff(off);
    switchedOff.setChannelsMarked(1u << kSlot, At(0));
    EXPECT_TRUE(switchedOff.onFrame(frame).empty());
}

using input_type::kCurrent4To20mA;
using input_type::kRtd;
using input_type::kThermocoupleJ;
using input_type::kThermocoupleK;
INSTANTIATE_TEST_SUITE_P(
    Table, BuiltInFaults,
    ::testing::Values(FaultCase{kCurrent4To20mA, 5385, 25, AlarmKind::LoopLow},
                      FaultCase{kCurrent4To20mA, 5400, 25, std::nullopt},
                      FaultCase{kCurrent4To20mA, 31500, 25, std::nullopt},
                      FaultCase{kCurrent4To20mA, 31515, 25, AlarmKind::LoopHigh},
                      FaultCase{kThermocoupleJ, 30000, 25, AlarmKind::AboveTable},
                      FaultCase{kThermocoupleJ, -10, 0, AlarmKind::BelowTable},
                      FaultCase{kThermocoupleJ, 0, 0, std::nullopt},
                      FaultCase{kThermocoupleK, -9000, 0, AlarmKind::BelowTable},
                      FaultCase{kRtd, 32767, 25, AlarmKind::AboveTable},
                      FaultCase{kRtd, 100, 25, AlarmKind::BelowTable},
                      FaultCase{kRtd, 2000, 25, std::nullopt},
                      FaultCase{kThermocoupleJ, 0, -1, AlarmKind::ConversionFailed}));

TEST(AlarmEvaluator, ALinkFaultIsRaisedForACardInUseAndFollowsTheStatusWindowsOrder) {
    AcquisitionState state;
    state.PortOpen2 = state.CardConnected2 = state.TaskRunning2 = true;
    state.AwaitingAnswer2 = state.DataStale2 = true;
    EXPECT_EQ(LinkFaultOf(state, 1), LinkFault::NoAnswer);
    state.PortLost2 = true;
    EXPECT_EQ(LinkFaultOf(state, 1), LinkFault::PortLost);
    state.CardConnected2 = state.PortLost2 = false;
    EXPECT_EQ(LinkFaultOf(state, 1), LinkFault::None);  // never answered in this run
    state.CardConnected2 = true;
    state.AwaitingAnswer2 = false;
    EXPECT_EQ(LinkFaultOf(state, 1), LinkFault::NoData);

    state.SaveChannel[8] = true;
    AlarmEvaluator evaluator;
    evaluator.setChannelsMarked(ChannelsMarked(state), At(0));
    EXPECT_TRUE(evaluator.onLinkFault(0, LinkFault::PortLost, At(0)).empty());
    const auto lost = evaluator.onLinkFault(1, LinkFault::PortLost, At(1));
    ASSERT_EQ(lost.size(), 1u);
    EXPECT_EQ(lost[0].subject, "card 2");
    EXPECT_EQ(lost[0].text, "COM lost: the card's port went away");
    const auto answering = evaluator.onLinkFault(1, LinkFault::NoAnswer, At(2));
    ASSERT_EQ(answering.size(), 2u);
    EXPECT_EQ(answering[1].id, (AlarmId{AlarmKind::NoAnswer, 1}));
    EXPECT_EQ(evaluator.setChannelsMarked(0, At(3))[0].kind, AlarmEvent::Kind::Cleared);
    EXPECT_TRUE(evaluator.active().empty());
}

TEST(AlarmEvaluator, NewSettingsKeepTheAlarmsOfRulesThatStayAndClearTheOthers) {
    AlarmEvaluator evaluator(Rules({"CH1 above 10", "CH2 above 10"}));
    evaluator.onFrame(Analog(0, {{1, 11}, {2, 11}}));
    const auto events = evaluator.setSettings(Rules({"CH2 above 10", "CH3 above 10"}), At(1));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].subject, "CH1");
    ASSERT_EQ(evaluator.active().size(), 1u);
    EXPECT_EQ(evaluator.active()[0].id, (AlarmId{AlarmKind::Rule, 0}));
    EXPECT_EQ(evaluator.onFrame(Analog(2, {{2, 5}})).size(), 1u);
}

// The subjects of the active alarms with the value each was raised at.
std::vector<std::pair<std::string, double>> Raised(const AlarmEvaluator& evaluator) {
    std::vector<std::pair<std::string, double>> raised;
    for (const ActiveAlarm& alarm : evaluator.active()) {
        raised.emplace_back(alarm.subject, alarm.valueAtRaise.value_or(-1.0));
    }
    return raised;
}

TEST(AlarmEvaluator, ADerivedChannelsRuleFollowsItsValueAndAChannelsRuleItsScaledValue) {
    AlarmEvaluator evaluator(Rules({"dT above 5 hysteresis 1", "CH2 above 4"}));
    evaluator.setDerivedNames({"flow", "dT"}, At(0));
    // CH2 converts to 0 every time; its user scale makes the value compared.
    const auto frame = [](int card, std::int64_t ms, std::optional<double> dT, double ch2) {
        ConvertedFrame made = Analog(ms, {{card * kChannelsPerCard, 0.0f}});
        made.derived[0] = 100.0;  // flow, watched by no rule
        made.derived[1] = dT;
        made.scaled[2] = card == 0 ? std::optional<double>(ch2) : std::nullopt;
        return made;
    };
    using Alarms = std::vector<std::pair<std::string, double>>;
    evaluator.onFrame(frame(0, 100, 5.0, 3.0));
    EXPECT_EQ(Raised(evaluator), Alarms{});
    evaluator.onFrame(frame(1, 200, 5.5, 3.0));  // either card's frame carries it
    EXPECT_EQ(Raised(evaluator), (Alarms{{"dT", 5.5}}));
    EXPECT_EQ(evaluator.active()[0].text, "dT above 5");
    evaluator.onFrame(frame(0, 300, std::nullopt, 4.5));  // no value: nothing moves
    EXPECT_EQ(Raised(evaluator), (Alarms{{"CH2", 4.5}, {"dT", 5.5}}));
    evaluator.onFrame(frame(1, 400, 4.1, 0.0));  // within the hysteresis
    EXPECT_EQ(Raised(evaluator).size(), 2u);
    evaluator.onFrame(frame(0, 500, 3.9, 4.0));
    EXPECT_EQ(Raised(evaluator), Alarms{});
    evaluator.onFrame(frame(1, 600, 6.0, 0.0));
    EXPECT_EQ(Raised(evaluator), (Alarms{{"dT", 6.0}}));

    // Its channel removed: the alarm goes, and nothing raises it again.
    const auto events = evaluator.setDerivedNames({"flow"}, At(700));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, AlarmEvent::Kind::Cleared);
    evaluator.onFrame(frame(1, 800, 9.0, 0.0));
    EXPECT_EQ(Raised(evaluator), Alarms{});
    // Back in another place, it is judged afresh there.
    evaluator.setDerivedNames({"dT"}, At(900));
    ConvertedFrame back = frame(1, 1000, 1.0, 0.0);
    back.derived[0] = 7.0;
    evaluator.onFrame(back);
    EXPECT_EQ(Raised(evaluator), (Alarms{{"dT", 7.0}}));

    derived::DerivedSettings derived;
    derived.channels.push_back({"dT", "K", 1, "ch1 - ch0", false});
    EXPECT_EQ(
        UnknownDerivedRules(Rules({"CH1 above 2", "dT below 0", "dt above 1"}), derived),
        std::vector<std::string>{"Rule 3 (dt above 1 warning): there is no derived channel dt"});
}

}  // namespace
}  // namespace vantrel::alarms
