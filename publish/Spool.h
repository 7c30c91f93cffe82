#pragma once

// Messages waiting for the broker, oldest first, kept in a bounded ring on a
// storage that outlives the program (vantrel-mqtt.spool in the start folder).
// When full, the oldest messages are dropped and counted. Readers walk the ring
// with a position and remove messages only once the broker has acknowledged them,
// so a message is never lost between being read and being delivered.
//
// Layout: a 40-byte header ("VTRLSPL1", then capacity, head offset, bytes used and
// message count as little-endian 64-bit numbers) and the ring of `capacity` bytes.
// Each message: 0xA5, flags (bits 0-1 QoS, bit 2 retain), topic length (16 bits),
// payload length (32 bits), the topic, the payload.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "publish/SpoolStorage.h"

namespace vantrel::publish {

inline constexpr const char* kSpoolFile = "vantrel-mqtt.spool";
inline constexpr std::uint64_t kSpoolLimitBytes = 100'000'000;

// A message whose texts live elsewhere, as it is handed on without a copy.
struct MessageView {
    std::string_view topic;
    std::string_view payload;
    int qos = 1;
    bool retain = false;
};

struct SpooledMessage {
    std::string topic;
    std::string payload;
    int qos = 1;
    bool retain = false;
    bool operator==(const SpooledMessage&) const = default;
    MessageView view() const { return {topic, payload, qos, retain}; }
    // Takes message's texts into the room this one already has.
    void assign(const MessageView& message) {
        topic.assign(message.topic);
        payload.assign(message.payload);
        qos = message.qos;
        retain = message.retain;
    }
};

class Spool {
  public:
    // Where a reader stands: the message's number (they count up from the oldest
    // ever kept) and its byte in the ring.
    struct Position {
        std::uint64_t number = 0;
        std::uint64_t offset = 0;
    };

    // Takes up what storage holds. Of storage that is no spool, or a damaged one
    // (a file cut short too), the whole messages before the damage are kept and
    // damagedBytes() counts the rest; the bytes themselves stay in the storage
    // until the spool next empties.
    explicit Spool(std::unique_ptr<SpoolStorage> storage,
                   std::uint64_t capacity = kSpoolLimitBytes);

    bool empty() const { return count_ == 0; }
    std::uint64_t size() const { return count_; }
    std::uint64_t usedBytes() const { return used_; }
    // Oldest messages dropped to make room, since the spool was opened.
    std::uint64_t dropped() const { return dropped_; }
    // Messages the storage refused to take (a full disk), and bytes found damaged.
    std::uint64_t lost() const { return lost_; }
    std::uint64_t damagedBytes() const { return damagedBytes_; }
    // Why the storage refuses messages now ("disk full"); nothing once it has
    // taken one again. Each message is tried on its own, so writing resumes with
    // the first one after room is back.
    const std::optional<std::string>& writeTrouble() const { return writeTrouble_; }

    void pushBack(const MessageView& message);
    void pushBack(const SpooledMessage& message) { pushBack(message.view()); }
    // Before every other message: one handed to the broker and never acknowledged,
    // older than anything spooled since. Dropped when there is no room.
    void pushFront(const SpooledMessage& message);
    void popFront();

    Position front() const { return {firstNumber_, head_}; }
    // The message at position, moving position on; nothing past the newest. A
    // position whose message was dropped meanwhile starts again at the oldest.
    std::optional<SpooledMessage> read(Position& position);
    // The same into out, reusing its room; false past the newest.
    bool read(Position& position, SpooledMessage& out);

    // Writes the header and hands everything to the system.
    void sync();

  private:
    struct RecordHead {
        int qos = 0;
        bool retain = false;
        std::uint64_t topicLength = 0;
        std::uint64_t payloadLength = 0;
        std::uint64_t size() const;
    };

    void load();
    void verify();
    void reset();
    static std::optional<RecordHead> parseHead(const char* bytes);
    std::optional<RecordHead> readHead(std::uint64_t offset);
    bool readRing(std::uint64_t offset, std::span<char> out);
    bool writeRing(std::uint64_t offset, std::string_view data);
    // A message that cannot be read: everything from there on is given up.
    void giveUpFrom(std::uint64_t number);
    void lostOne();
    // How many of length bytes from the ring's offset the storage holds.
    std::uint64_t presentBytes(std::uint64_t offset, std::uint64_t length) const;
    std::uint64_t ringOffset(std::uint64_t offset) const { return offset % capacity_; }

    std::unique_ptr<SpoolStorage> storage_;
    std::uint64_t configuredCapacity_;
    std::uint64_t capacity_;
    std::uint64_t head_ = 0;
    std::uint64_t used_ = 0;
    std::uint64_t count_ = 0;
    std::uint64_t firstNumber_ = std::uint64_t{1} << 62;
    std::uint64_t dropped_ = 0;
    std::uint64_t lost_ = 0;
    std::uint64_t damagedBytes_ = 0;
    std::optional<std::string> writeTrouble_;
    bool dirty_ = false;
    // The room one message is encoded in, kept from one to the next.
    std::string encoded_;
};

// The encoded form of one message, as the ring holds it.
std::string EncodeSpooledMessage(const SpooledMessage& message);
void AppendEncodedMessage(std::string& out, const MessageView& message);

}  // namespace vantrel::publish
