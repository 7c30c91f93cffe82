#include "publish/Outbox.h"

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
    for (std::size_t i = 0; i < inFlight_.size(); ++i) {
        const InFlight& entry = inFlight_[i];
        if (!entry.fromSpool && !entry.acknowledged) {
            spool_.pushBack(entry.message);
            ++spooled;
        }
    }
    // Those still waiting their turn are the newest of all.
    for (std::size_t i = 0; i < waiting_.size(); ++i) {
        spool_.pushBack(waiting_[i]);
    }
    counters_.spooled += spooled + waiting_.size();
    waiting_.clear();
    inFlight_.clear();
    backlogInFlight_ = 0;
    next_ = spool_.front();
    spool_.sync();
}

bool Outbox::handOver(const MessageView& message, bool fromSpool) {
    const std::optional<int> id =
        client_->publish(message.topic, message.payload, message.qos, message.retain);
    if (!id) {
        return false;
    }
    ++counters_.handedOver;
    unflushed_ = true;
    backlogInFlight_ += fromSpool ? 1 : 0;
    // A QoS 0 message is done once sent; one from the spool still keeps its place
    // in line, so that the spool gives up the right message.
    if (message.qos > 0 || fromSpool) {
        InFlight& entry = inFlight_.pushBack();
        entry.messageId = *id;
        entry.acknowledged = message.qos == 0;
        entry.fromSpool = fromSpool;
        // The spool keeps its own until acknowledged.
        if (!fromSpool) {
            entry.message.assign(message);
        }
    }
    return true;
}

void Outbox::send(const MessageView& message) {
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
    // Straight to the connection while nothing waits before it and there is room.
    if (waiting_.empty() && inFlight_.size() < kInFlightLimit && handOver(message, false)) {
        return;
    }
    waiting_.pushBack().assign(message);
    if (waiting_.size() > kWaitingLimit) {
        // The spool's newest are older than anything waiting here.
        spool_.pushBack(waiting_.front());
        waiting_.popFront();
        ++counters_.spooled;
        spool_.sync();
    }
}

void Outbox::pump() {
    while (client_ != nullptr && inFlight_.size() < kInFlightLimit) {
        // The present first: a long backlog must not hide it.
        if (!waiting_.empty()) {
            if (!handOver(waiting_.front().view(), false)) {
                break;
            }
            waiting_.popFront();
            continue;
        }
        Spool::Position at = next_;
        if (backlogInFlight_ >= kBacklogInFlightLimit || !spool_.read(at, fromSpool_) ||
            !handOver(fromSpool_.view(), true)) {
            break;
        }
        next_ = at;
    }
    if (client_ != nullptr && unflushed_) {
        client_->flush();
        unflushed_ = false;
    }
    removeAcknowledged();
    spool_.sync();
}

void Outbox::delivered(int messageId) {
    // Acknowledgements mostly come in the order of sending: the oldest first.
    for (std::size_t i = 0; i < inFlight_.size(); ++i) {
        InFlight& entry = inFlight_[i];
        if (entry.messageId == messageId && !entry.acknowledged) {
            entry.acknowledged = true;
            ++counters_.acknowledged;
            removeAcknowledged();
            return;
        }
    }
}

void Outbox::removeAcknowledged() {
    // Acknowledgements may come out of order; the spool gives up its oldest
    // message only when everything before it is acknowledged too.
    while (!inFlight_.empty() && inFlight_.front().acknowledged) {
        if (inFlight_.front().fromSpool) {
            spool_.popFront();
            --backlogInFlight_;
        }
        inFlight_.popFront();
    }
}

}  // namespace vantrel::publish
