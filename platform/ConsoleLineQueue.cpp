#include "platform/ConsoleLineQueue.h"

namespace vantrel::platform {

void ConsoleLineQueue::push(std::string line) {
    if (entries_.size() >= capacity_) {
        ++lost_;
        return;
    }
    entries_.push_back({std::move(line), lost_});
    lost_ = 0;
}

std::optional<ConsoleLineQueue::Text> ConsoleLineQueue::pop() {
    if (entries_.empty()) {
        return std::nullopt;
    }
    Entry entry = std::move(entries_.front());
    entries_.pop_front();
    Text text;
    if (entry.lostBefore > 0) {
        text.bytes = LostLine(entry.lostBefore) + '\n';
        text.lines = entry.lostBefore;
    }
    if (entry.line) {
        text.bytes += *entry.line + '\n';
        ++text.lines;
    }
    return text;
}

void ConsoleLineQueue::tellLost() {
    if (lost_ > 0) {
        // Beyond the capacity: it replaces nothing and comes only at the end.
        entries_.push_back({std::nullopt, lost_});
        lost_ = 0;
    }
}

std::string ConsoleLineQueue::LostLine(std::uint64_t lines) {
    return "vantrel: " + std::to_string(lines) +
           (lines == 1 ? " status line could not be written"
                       : " status lines could not be written");
}

}  // namespace vantrel::platform
