#pragma once

// Delivery in order with nothing lost. While the broker takes messages and the
// spool is empty, messages go straight to the connection and are kept in memory
// until acknowledged. Whatever cannot go now (no connection, too many awaiting
// acknowledgement) waits in the spool, which is sent first, oldest first, when the
// connection is back; a message leaves the spool only once acknowledged. Messages
// handed over but never acknowledged when the connection ends go back to the
// front of the spool.
//
// QoS 0 messages are sent when connected and otherwise dropped (counted): who
// chose QoS 0 chose to lose them rather than delay them.

#include <cstdint>
#include <deque>

#include "publish/MqttClient.h"
#include "publish/Spool.h"

namespace vantrel::publish {

// Messages awaiting acknowledgement at once; the rest wait their turn in order.
inline constexpr std::size_t kInFlightLimit = 200;

struct OutboxCounters {
    std::uint64_t handedOver = 0;    // to the connection, first sends and resends
    std::uint64_t acknowledged = 0;  // QoS 1 messages the broker confirmed
    std::uint64_t spooled = 0;       // went to the spool instead of the connection
    std::uint64_t droppedQos0 = 0;   // QoS 0 while not connected
};

class Outbox {
  public:
    explicit Outbox(Spool& spool) : spool_(spool) {}

    // client is the connection that now takes messages, or nothing.
    void connected(MqttClient& client);
    // The connection takes no more messages but may still acknowledge some.
    void detach() { client_ = nullptr; }
    // The connection ended: what it did not acknowledge waits in the spool again.
    void disconnected();

    void send(const SpooledMessage& message);
    // A Delivered event: acknowledged messages leave memory or the spool.
    void delivered(int messageId);
    // Hands spooled messages to the connection while there is room.
    void pump();

    bool idle() const { return inFlight_.empty() && spool_.empty(); }
    std::size_t inFlight() const { return inFlight_.size(); }
    const OutboxCounters& counters() const { return counters_; }

  private:
    struct InFlight {
        int messageId = 0;
        bool acknowledged = false;
        bool fromSpool = false;
        SpooledMessage message;  // kept only when not in the spool
    };

    bool handOver(const SpooledMessage& message, bool fromSpool);
    void removeAcknowledged();

    Spool& spool_;
    MqttClient* client_ = nullptr;
    // In the order handed over: first any sent straight, then those from the spool.
    std::deque<InFlight> inFlight_;
    Spool::Position next_;  // the next spooled message to hand over
    OutboxCounters counters_;
};

}  // namespace vantrel::publish
