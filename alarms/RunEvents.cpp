#include "alarms/RunEvents.h"

#include "alarms/FaultTexts.h"

namespace vantrel::alarms {

namespace {
bool IsLost(LinkFault fault) {
    return fault == LinkFault::PortLost || fault == LinkFault::NoAnswer;
}
}  // namespace

RunEvents::RunEvents(const AlarmSettings& settings) : evaluator_(settings) {}

void RunEvents::addListener(Listener listener) {
    listeners_.push_back(std::move(listener));
}

void RunEvents::setSettings(const AlarmSettings& settings, const platform::DateTime& at) {
    take(evaluator_.setSettings(settings, at));
}

void RunEvents::setDerivedNames(std::vector<std::string> names, const platform::DateTime& at) {
    take(evaluator_.setDerivedNames(std::move(names), at));
}

void RunEvents::setChannelsMarked(std::uint16_t channels, const platform::DateTime& at) {
    if (channels == marked_) {
        return;
    }
    marked_ = channels;
    take(evaluator_.setChannelsMarked(channels, at));
}

void RunEvents::onFrame(const ConvertedFrame& frame) {
    take(evaluator_.onFrame(frame));
}

void RunEvents::onFrame(const DigitalFrame& frame) {
    take(evaluator_.onFrame(frame));
}

void RunEvents::onLink(int card, LinkFault fault, const platform::DateTime& at) {
    const int index = card == 0 ? 0 : 1;
    const LinkFault before = links_[index];
    if (fault == before) {
        return;
    }
    links_[index] = fault;
    // A port that comes back to a card that has not answered yet is still a card
    // lost; nothing is said until it answers.
    if (IsLost(fault) && !IsLost(before)) {
        cardEvent(EventKind::CardLost, index, fault, at);
    } else if (!IsLost(fault) && IsLost(before)) {
        cardEvent(EventKind::CardAnswering, index, fault, at);
    } else if (before == LinkFault::NoData && fault == LinkFault::None) {
        cardEvent(EventKind::DataAgain, index, fault, at);
    }
    if (fault == LinkFault::NoData) {
        cardEvent(EventKind::NoData, index, fault, at);
    }
    take(evaluator_.onLinkFault(index, fault, at));
}

void RunEvents::cardEvent(EventKind kind, int card, LinkFault fault, const platform::DateTime& at) {
    RunEvent event;
    event.kind = kind;
    event.at = at;
    event.channel = CardName(card);
    switch (kind) {
        case EventKind::CardLost:
            event.text =
                FaultText(fault == LinkFault::PortLost ? AlarmKind::PortLost : AlarmKind::NoAnswer);
            break;
        case EventKind::CardAnswering:
            event.text = "Card answering again";
            break;
        case EventKind::NoData:
            event.text = FaultText(AlarmKind::NoData);
            break;
        default:
            event.text = "Data again: the card's frames came back";
            break;
    }
    tell(std::move(event));
}

void RunEvents::acknowledge(const AlarmId& id, const platform::DateTime& at) {
    take(evaluator_.acknowledge(id, at));
}

void RunEvents::acknowledgeAll(const platform::DateTime& at) {
    take(evaluator_.acknowledgeAll(at));
}

void RunEvents::add(RunEvent event) {
    tell(std::move(event));
}

void RunEvents::take(AlarmEvaluator::Events events) {
    // The evaluator's span lasts only until its next call, which a listener may
    // cause (an acknowledgement from a message box): copy first.
    std::vector<RunEvent> taken;
    taken.reserve(events.size());
    std::vector<OutputAction> actions;
    for (const AlarmEvent& event : events) {
        taken.push_back(ToRunEvent(event));
        if (event.kind == AlarmEvent::Kind::Raised && event.id.kind == AlarmKind::Rule) {
            const auto index = static_cast<std::size_t>(event.id.index);
            const auto& rules = evaluator_.settings().rules;
            if (index < rules.size() && rules[index].output) {
                actions.push_back(*rules[index].output);
            }
        }
    }
    for (RunEvent& event : taken) {
        tell(std::move(event));
    }
    if (output_) {
        for (const OutputAction& action : actions) {
            output_(action);
        }
    }
}

void RunEvents::tell(RunEvent event) {
    if (events_.size() >= kKeptEvents) {
        events_.pop_front();
        ++forgotten_;
    }
    events_.push_back(std::move(event));
    const RunEvent& kept = events_.back();
    for (const auto& listener : listeners_) {
        listener(kept);
    }
}

}  // namespace vantrel::alarms
