// The run's events from what its cards and its user do: a card lost, answering
// again, its frames stopped and back; the task and logging started and stopped; a
// rule raised by a frame switching its output line as the output button would.
#include <gtest/gtest.h>

#include "alarms/RuleText.h"
#include "tests/acquisition/RunRig.h"

namespace vantrel::testing {
namespace {

using alarms::EventKind;
using Wire = std::vector<std::string>;

const std::string kFrame = "+01234,-00017,+00000,+00000,+00000,+00000,+00000,+00000,+25.5\r";

struct Told {
    EventKind kind;
    std::string channel;
    bool operator==(const Told&) const = default;
    friend void PrintTo(const Told& told, std::ostream* out) {
        *out << alarms::EventKindName(told.kind) << " " << told.channel;
    }
};

std::vector<Told> Kinds(const alarms::RunEvents& events) {
    std::vector<Told> told;
    for (const alarms::RunEvent& event : events.events()) {
        told.push_back({event.kind, event.channel});
    }
    return told;
}

TEST(RunEvents, ACardLostAnsweringAgainFramesStoppedAndBackAreEachToldOnce) {
    RunRig rig;
    rig.state.SaveChannel[8] = true;  // in use: its card's link faults are alarms
    // Card 1's port never opens and its card never answers: nothing was lost.
    rig.cm.openSucceeds = false;
    rig.run->openPorts();
    rig.cm2.receive("V1.02\r");
    rig.timers["tmrWatch_1"].tick();  // no frames before the task: no news
    ASSERT_TRUE(rig.run->startTask());
    rig.cm2.receive("\r");  // something before its first frame
    rig.pause->tick();
    rig.cm2.receive(kFrame);
    rig.cm2.fail();
    rig.cm2.fail();
    rig.timers["tmrReopen_1"].tick();  // the port is back; the card has not answered
    rig.cm2.receive("V1.02\r");
    rig.pause->tick();                // resumed as it was
    rig.timers["tmrWatch_1"].tick();  // its frames have not come back yet
    rig.cm2.receive(kFrame);
    rig.cm2.receive(kFrame);
    rig.run->stopTask();
    EXPECT_EQ(Kinds(rig.run->events()), (std::vector<Told>{
                                            {EventKind::TaskStarted, ""},
                                            {EventKind::CardLost, "card 2"},
                                            {EventKind::AlarmRaised, "card 2"},
                                            // The port is back: its alarm gives way
                                            // to the card's missing answer.
                                            {EventKind::AlarmCleared, "card 2"},
                                            {EventKind::AlarmRaised, "card 2"},
                                            {EventKind::CardAnswering, "card 2"},
                                            {EventKind::AlarmCleared, "card 2"},
                                            {EventKind::NoData, "card 2"},
                                            {EventKind::AlarmRaised, "card 2"},
                                            {EventKind::DataAgain, "card 2"},
                                            {EventKind::AlarmCleared, "card 2"},
                                            {EventKind::TaskStopped, ""},
                                        }));
}

TEST(RunEvents, ARaisedRuleSetsItsOutputLineAsTheButtonWouldAndOnlyOnce) {
    RunRig rig;
    rig.run->openPorts();
    rig.cm2.receive("V1.02\r");
    alarms::AlarmSettings settings;
    settings.rules.push_back(
        std::get<alarms::AlarmRule>(alarms::ParseRule("CH8 above 0.01 set D17")));
    rig.run->setAlarmSettings(settings);
    rig.state.DigitalOutCmd[16] = true;  // line 0 of card 2, already on by its button
    rig.cm2.sent.clear();
    rig.cm2.receive(kFrame);  // CH8 is card 2's first channel
    rig.cm2.receive(kFrame);
    EXPECT_EQ(rig.cm2.sent, Wire{"#D0003\r"});
    EXPECT_TRUE(rig.state.DigitalOutCmd[17]);
    ASSERT_EQ(rig.run->events().active().size(), 1u);
    EXPECT_EQ(rig.run->events().active()[0].subject, "CH8");
    rig.run->acknowledgeAll();
    EXPECT_EQ(rig.run->events().events().back().kind, EventKind::AlarmAcknowledged);
}

TEST(RunEvents, LoggingStartedAndStoppedAreToldAtTheTickAndAMarkerAtOnce) {
    RunRig rig;
    rig.state.LogFileName = rig.state.LogFileInUse = rig.folder.file("run.csv");
    rig.run->begin();
    rig.state.Saving = true;
    rig.logTick->tick();
    rig.run->addMarker("valve opened");
    rig.state.Saving = false;
    rig.logTick->tick();
    const auto& events = rig.run->events().events();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, EventKind::LoggingStarted);
    EXPECT_EQ(events[0].text, "Logging started in " + rig.folder.file("run.csv"));
    EXPECT_EQ(events[1].kind, EventKind::Marker);
    EXPECT_EQ(events[1].text, "valve opened");
    EXPECT_EQ(events[2].kind, EventKind::LoggingStopped);
}

}  // namespace
}  // namespace vantrel::testing
