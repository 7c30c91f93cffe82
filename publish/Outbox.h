#pragma once

// Delivery with nothing lost. While connected, the live messages go to the
// connection first, in order, and are kept in memory until acknowledged; the
// spool (what waited for the broker) drains behind them, oldest first, with at
// most kBacklogInFlightLimit of its messages awaiting acknowledgement, so that
// room is always left for the live ones. Those that must wait their turn (too
// many awaiting acknowledgement) wait in memory, and past a limit in the spool.
// Without a connection messages go to the spool. A message leaves the spool only
// once acknowledged. When the connection ends, what was sent straight and not
// acknowledged goes to the end of the spool, and what was waiting behind it.
// Every message carries its own time, so the order of arrival tells nothing.
//
// QoS 0 messages are sent when connected and otherwise dropped (counted): who
// chose QoS 0 chose to lose them rather than delay them.

#include <cstdint>

#include "publish/MqttClient.h"
#include "publish/ReusedRing.h"
#include "publish/Spool.h"

namespace vantrel::publish {

// Messages awaiting acknowledgement at once; the rest wait their turn in order.
inline constexpr std::size_t kInFlightLimit = 200;
// Of them, those from the spool: a quarter of the window is kept for live values.
inline constexpr std::size_t kBacklogInFlightLimit = kInFlightLimit * 3 / 4;
// Messages waiting in memory while connected; older ones go to the spool.
inline constexpr std::size_t kWaitingLimit = 10000;

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

    // The message's texts are copied where they must wait, into room kept from
    // earlier messages. What is handed to the connection goes out with the next
    // pump(), in one go with the rest of the batch.
    void send(const MessageView& message);
    // A Delivered event: acknowledged messages leave memory or the spool. The
    // room they leave is filled by the next pump(), once per batch of events.
    void delivered(int messageId);
    // Hands waiting messages to the connection while there is room, live ones
    // first, lets the client send what it was handed in one go, and hands what
    // changed in the spool to the system.
    void pump();

    std::size_t inFlight() const { return inFlight_.size(); }
    const OutboxCounters& counters() const { return counters_; }

  private:
    struct InFlight {
        int messageId = 0;
        bool acknowledged = false;
        bool fromSpool = false;
        SpooledMessage message;  // kept only when not in the spool
    };

    bool handOver(const MessageView& message, bool fromSpool);
    void removeAcknowledged();

    Spool& spool_;
    MqttClient* client_ = nullptr;
    // In the order handed over.
    ReusedRing<InFlight> inFlight_;
    std::size_t backlogInFlight_ = 0;
    ReusedRing<SpooledMessage> waiting_;
    Spool::Position next_;      // the next spooled message to hand over
    SpooledMessage fromSpool_;  // the room a spooled message is read into
    bool unflushed_ = false;    // handed over since the client last sent
    OutboxCounters counters_;
};

}  // namespace vantrel::publish
