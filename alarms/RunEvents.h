#pragma once

// The alarms and events of one run: every frame and every change of a card's link
// goes through the alarm evaluator, and what it raises, clears or has acknowledged
// becomes an event, with the cards' own comings and goings, the task's and the
// logging's starts and stops and the user's markers. Kept in memory for the run
// (the newest kKeptEvents) and handed to each listener as it happens, whether or
// not a window is open or anything is logged.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "alarms/AlarmEvaluator.h"
#include "alarms/RunEvent.h"
#include "engine/CardFrames.h"
#include "platform/Clock.h"

namespace vantrel::alarms {

// A month of an event a minute; older events are forgotten by the run, not by
// the events file.
inline constexpr std::size_t kKeptEvents = 50000;

class RunEvents {
  public:
    using Listener = std::function<void(const RunEvent&)>;
    // A raised rule's output action, to be sent as an output button sends it.
    using OutputHandler = std::function<void(const OutputAction&)>;

    explicit RunEvents(const AlarmSettings& settings = {});

    // Told of every event, in the order they happen and the order added.
    void addListener(Listener listener);
    void setOutputHandler(OutputHandler handler) { output_ = std::move(handler); }

    void setSettings(const AlarmSettings& settings, const platform::DateTime& at);
    void setChannelsMarked(std::uint16_t channels, const platform::DateTime& at);
    // See AlarmEvaluator::setDerivedNames.
    void setDerivedNames(std::vector<std::string> names, const platform::DateTime& at);
    void onFrame(const ConvertedFrame& frame);
    void onFrame(const DigitalFrame& frame);
    // The card's link as it is now; only a change does anything.
    void onLink(int card, LinkFault fault, const platform::DateTime& at);
    void acknowledge(const AlarmId& id, const platform::DateTime& at);
    void acknowledgeAll(const platform::DateTime& at);
    // A task, logging or marker event.
    void add(RunEvent event);

    const std::deque<RunEvent>& events() const { return events_; }
    std::uint16_t channelsMarked() const { return marked_; }
    const AlarmEvaluator& evaluator() const { return evaluator_; }
    const std::vector<ActiveAlarm>& active() const { return evaluator_.active(); }
    // Events forgotten since the run began, beyond kKeptEvents.
    std::uint64_t forgotten() const { return forgotten_; }

  private:
    void take(AlarmEvaluator::Events events);
    void cardEvent(EventKind kind, int card, LinkFault fault, const platform::DateTime& at);
    void tell(RunEvent event);

    AlarmEvaluator evaluator_;
    std::vector<Listener> listeners_;
    OutputHandler output_;
    std::deque<RunEvent> events_;
    std::uint64_t forgotten_ = 0;
    std::uint16_t marked_ = 0;
    LinkFault links_[2] = {LinkFault::None, LinkFault::None};
};

}  // namespace vantrel::alarms
