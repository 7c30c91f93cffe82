#include "publish/Outbox.h"

#include <algorithm>
#include <vector>

namespace vantrel::publish {

void Outbox::connected(MqttClient& client) {
    client_ = &client;
    next_ = spool_.front();
    pump();
}

void Outbox::disconnected() {
    client_ = nullptr;
    // Those sent straight are newer than what the spool still holds.
    std::uint64_t spooled = 0;
    for (const InFlight& entry : inFlight_) {
        if (!entry.fromSpool && !entry.acknowledged) {
            spool_.pushBack(entry.message);
            ++spooled;
        }
    }
    // Those still waiting their turn are the newest of all.
    for (const SpooledMessage& message : waiting_) {
        spool_.pushBack(message);
    }
    counters_.spooled += spooled + waiting_.size();
    waiting_.clear();
    inFlight_.clear();
    backlogInFlight_ = 0;
    next_ = spool_.front();
    spool_.sync();
}

bool Outbox::handOver(const SpooledMessage& message, bool fromSpool) {
    const std::optional<int> id =
        client_->publish(message.topic, message.payload, message.qos, message.retain);
    if (!id) {
        return false;
    }
    ++counters_.handedOver;
    backlogInFlight_ += fromSpool ? 1 : 0;
    // A QoS 0 message is done once sent; one from the spool still keeps its place
    // in line, so that the spool gives up the right message.
    if (message.qos > 0 || fromSpool) {
        inFlight_.push_back(
            {*id, message.qos == 0, fromSpool, fromSpool ? SpooledMessage{} : message});
    }
    return true;
}

void Outbox::send(const SpooledMessage& message) {
    if (message.qos == 0) {
        if (client_ == nullptr || !handOver(message, false)) {
            ++counters_.droppedQos0;
        }
        return;
    }
    if (client_ == nullptr) {
        spool_.pushBack(message);
        ++counters_.spooled;
        spool_.sync();
        return;
    }
    waiting_.push_back(message);
    if (waiting_.size() > kWaitingLimit) {
        // The spool's newest are older than anything waiting here.
        spool_.pushBack(waiting_.front());
        waiting_.pop_front();
        ++counters_.spooled;
        spool_.sync();
    }
    pump();
}

void Outbox::pump() {
    while (client_ != nullptr && inFlight_.size() < kInFlightLimit) {
        // The present first: a long backlog must not hide it.
        if (!waiting_.empty()) {
            if (!handOver(waiting_.front(), false)) {
                break;
            }
            waiting_.pop_front();
            continue;
        }
        Spool::Position at = next_;
        std::optional<SpooledMessage> message;
        if (backlogInFlight_ >= kBacklogInFlightLimit || !(message = spool_.read(at)) ||
            !handOver(*message, true)) {
            break;
        }
        next_ = at;
    }
    removeAcknowledged();
    spool_.sync();
}

void Outbox::delivered(int messageId) {
    const auto found = std::find_if(inFlight_.begin(), inFlight_.end(), [&](const InFlight& e) {
        return e.messageId == messageId && !e.acknowledged;
    });
    if (found == inFlight_.end()) {
        return;
    }
    found->acknowledged = true;
    ++counters_.acknowledged;
    removeAcknowledged();
}

void Outbox::removeAcknowledged() {
    // Acknowledgements may come out of order; the spool gives up its oldest
    // message only when everything before it is acknowledged too.
    while (!inFlight_.empty() && inFlight_.front().acknowledged) {
        if (inFlight_.front().fromSpool) {
            spool_.popFront();
            --backlogInFlight_;
        }
        inFlight_.pop_front();
    }
}

}  // namespace vantrel::publish
