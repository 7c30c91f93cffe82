#include "publish/Spool.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace vantrel::publish {

namespace {

constexpr std::string_view kMagic = "VTRLSPL1";
constexpr std::uint64_t kHeaderSize = 40;
constexpr std::uint64_t kRecordHeadSize = 8;
constexpr unsigned char kRecordMark = 0xA5;
constexpr std::uint64_t kSmallestCapacity = 64;
constexpr std::uint64_t kLargestCapacity = std::uint64_t{1} << 40;
constexpr std::uint64_t kLongestTopic = 0xFFFF;
constexpr std::uint64_t kLongestPayload = 0xFFFFFFFF;

void PutLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

std::uint64_t GetLittleEndian(const char* in, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(in[i]);
    }
    return value;
}

}  // namespace

std::string EncodeSpooledMessage(const SpooledMessage& message) {
    std::string encoded;
    AppendEncodedMessage(encoded, message.view());
    return encoded;
}

void AppendEncodedMessage(std::string& encoded, const MessageView& message) {
    encoded.push_back(static_cast<char>(kRecordMark));
    encoded.push_back(static_cast<char>((message.qos & 3) | (message.retain ? 4 : 0)));
    PutLittleEndian(encoded, message.topic.size(), 2);
    PutLittleEndian(encoded, message.payload.size(), 4);
    encoded.append(message.topic).append(message.payload);
}

std::uint64_t Spool::RecordHead::size() const {
    return kRecordHeadSize + topicLength + payloadLength;
}

Spool::Spool(std::unique_ptr<SpoolStorage> storage, std::uint64_t capacity)
    : storage_(std::move(storage)),
      configuredCapacity_(std::clamp(capacity, kSmallestCapacity, kLargestCapacity)),
      capacity_(configuredCapacity_) {
    load();
}

void Spool::load() {
    const std::uint64_t stored = storage_->size();
    if (stored == 0) {
        dirty_ = true;
        return;
    }
    std::array<char, kHeaderSize> header{};
    bool valid = storage_->read(0, header) && std::string_view(header.data(), 8) == kMagic;
    const std::uint64_t capacity = GetLittleEndian(header.data() + 8, 8);
    const std::uint64_t head = GetLittleEndian(header.data() + 16, 8);
    const std::uint64_t used = GetLittleEndian(header.data() + 24, 8);
    const std::uint64_t count = GetLittleEndian(header.data() + 32, 8);
    valid = valid && capacity >= kSmallestCapacity && capacity <= configuredCapacity_ &&
            head < capacity && used <= capacity && count <= used / kRecordHeadSize &&
            (used == 0) == (count == 0);
    if (!valid) {
        damagedBytes_ = stored;
        reset();
        return;
    }
    // Written with a smaller limit: its ring is read as it was laid out, and the
    // limit returns once it has been emptied.
    capacity_ = capacity;
    head_ = head;
    used_ = used;
    count_ = count;
    verify();
}

void Spool::reset() {
    head_ = 0;
    used_ = 0;
    count_ = 0;
    capacity_ = configuredCapacity_;
    dirty_ = true;
}

bool Spool::readRing(std::uint64_t offset, std::span<char> out) {
    const std::uint64_t first = std::min<std::uint64_t>(out.size(), capacity_ - offset);
    return storage_->read(kHeaderSize + offset, out.first(first)) &&
           (first == out.size() || storage_->read(kHeaderSize, out.subspan(first)));
}

bool Spool::writeRing(std::uint64_t offset, std::string_view data) {
    const std::uint64_t first = std::min<std::uint64_t>(data.size(), capacity_ - offset);
    return storage_->write(kHeaderSize + offset, data.substr(0, first)) &&
           (first == data.size() || storage_->write(kHeaderSize, data.substr(first)));
}

std::optional<Spool::RecordHead> Spool::parseHead(const char* bytes) {
    const auto flags = static_cast<unsigned char>(bytes[1]);
    if (static_cast<unsigned char>(bytes[0]) != kRecordMark || (flags & ~7u) != 0 ||
        (flags & 3) > 1) {
        return std::nullopt;
    }
    RecordHead head;
    head.qos = flags & 3;
    head.retain = (flags & 4) != 0;
    head.topicLength = GetLittleEndian(bytes + 2, 2);
    head.payloadLength = GetLittleEndian(bytes + 4, 4);
    return head;
}

std::optional<Spool::RecordHead> Spool::readHead(std::uint64_t offset) {
    std::array<char, kRecordHeadSize> bytes{};
    if (!readRing(offset, bytes)) {
        return std::nullopt;
    }
    return parseHead(bytes.data());
}

std::uint64_t Spool::presentBytes(std::uint64_t offset, std::uint64_t length) const {
    // A file cut short holds the ring only up to its end; past the ring's end the
    // messages go on at its beginning.
    const std::uint64_t stored =
        storage_->size() > kHeaderSize ? storage_->size() - kHeaderSize : 0;
    const std::uint64_t first = std::min(length, capacity_ - offset);
    const std::uint64_t present = offset < stored ? std::min(first, stored - offset) : 0;
    if (present < first || first == length) {
        return present;
    }
    return first + std::min(length - first, stored);
}

void Spool::verify() {
    // One pass over the ring in large pieces: every message whole and in the
    // storage, and as many as the header counts. Whatever follows the first one
    // that is not is given up.
    constexpr std::uint64_t kPiece = 1 << 20;
    const std::uint64_t present = presentBytes(head_, used_);
    std::string piece;
    std::uint64_t pieceStart = 0;
    std::uint64_t at = 0;  // bytes from the oldest message
    std::uint64_t found = 0;
    while (found < count_ && at + kRecordHeadSize <= present) {
        if (at < pieceStart || at + kRecordHeadSize > pieceStart + piece.size()) {
            pieceStart = at;
            piece.assign(std::min(kPiece, present - at), '\0');
            if (!readRing(ringOffset(head_ + at), piece)) {
                break;
            }
        }
        const std::optional<RecordHead> head = parseHead(piece.data() + (at - pieceStart));
        if (!head || head->size() > present - at) {
            break;
        }
        at += head->size();
        ++found;
    }
    if (found == count_ && at == used_) {
        return;
    }
    damagedBytes_ += used_ - at;
    count_ = found;
    used_ = at;
    if (count_ == 0) {
        reset();
    }
    dirty_ = true;
}

void Spool::giveUpFrom(std::uint64_t number) {
    // Walk to the message's byte from the oldest: only whole messages before it stay.
    std::uint64_t offset = head_;
    std::uint64_t kept = 0;
    for (std::uint64_t n = firstNumber_; n < number; ++n) {
        const std::optional<RecordHead> head = readHead(offset);
        if (!head) {
            break;
        }
        kept += head->size();
        offset = ringOffset(offset + head->size());
    }
    kept = std::min(kept, used_);
    damagedBytes_ += used_ - kept;
    count_ = std::min(count_, number - firstNumber_);
    used_ = kept;
    if (count_ == 0 || used_ == 0) {
        reset();
    }
    dirty_ = true;
}

void Spool::pushBack(const MessageView& message) {
    if (message.topic.size() > kLongestTopic || message.payload.size() > kLongestPayload) {
        ++dropped_;
        return;
    }
    encoded_.clear();
    AppendEncodedMessage(encoded_, message);
    const std::string& encoded = encoded_;
    while (count_ > 0 && used_ + encoded.size() > capacity_) {
        popFront();
        ++dropped_;
    }
    if (encoded.size() > capacity_) {
        ++dropped_;
        return;
    }
    if (!writeRing(ringOffset(head_ + used_), encoded)) {
        lostOne();
        return;
    }
    writeTrouble_.reset();
    used_ += encoded.size();
    ++count_;
    dirty_ = true;
}

void Spool::pushFront(const SpooledMessage& message) {
    if (empty()) {
        pushBack(message);
        return;
    }
    if (message.topic.size() > kLongestTopic || message.payload.size() > kLongestPayload) {
        ++dropped_;
        return;
    }
    const std::string encoded = EncodeSpooledMessage(message);
    if (used_ + encoded.size() > capacity_) {
        // The oldest of all is the one to go.
        ++dropped_;
        return;
    }
    const std::uint64_t head = ringOffset(head_ + capacity_ - encoded.size());
    if (!writeRing(head, encoded)) {
        lostOne();
        return;
    }
    writeTrouble_.reset();
    head_ = head;
    used_ += encoded.size();
    ++count_;
    --firstNumber_;
    dirty_ = true;
}

void Spool::lostOne() {
    ++lost_;
    writeTrouble_ = storage_->failure();
}

void Spool::popFront() {
    if (empty()) {
        return;
    }
    const std::optional<RecordHead> head = readHead(head_);
    if (!head || head->size() > used_) {
        giveUpFrom(firstNumber_);
        return;
    }
    head_ = ringOffset(head_ + head->size());
    used_ -= head->size();
    --count_;
    ++firstNumber_;
    if (count_ == 0) {
        reset();
        // The file shrinks back once everything in it has been delivered. (Damaged
        // bytes stay until then, so that they can still be kept elsewhere.)
        storage_->truncate(0);
    }
    dirty_ = true;
}

std::optional<SpooledMessage> Spool::read(Position& position) {
    SpooledMessage message;
    if (!read(position, message)) {
        return std::nullopt;
    }
    return message;
}

bool Spool::read(Position& position, SpooledMessage& message) {
    // The oldest message is always at the head, wherever the ring started over
    // when it last ran empty.
    if (position.number <= firstNumber_) {
        position = front();
    }
    if (position.number >= firstNumber_ + count_) {
        return false;
    }
    const std::uint64_t before = (position.offset + capacity_ - head_) % capacity_;
    const std::optional<RecordHead> head = readHead(position.offset);
    if (!head || before > used_ || head->size() > used_ - before) {
        giveUpFrom(position.number);
        return false;
    }
    message.topic.resize(head->topicLength);
    message.payload.resize(head->payloadLength);
    const std::uint64_t body = ringOffset(position.offset + kRecordHeadSize);
    if (!readRing(body, message.topic) ||
        !readRing(ringOffset(body + head->topicLength), message.payload)) {
        giveUpFrom(position.number);
        return false;
    }
    message.qos = head->qos;
    message.retain = head->retain;
    position.offset = ringOffset(position.offset + head->size());
    ++position.number;
    return true;
}

void Spool::sync() {
    if (!dirty_) {
        return;
    }
    std::string header(kMagic);
    PutLittleEndian(header, capacity_, 8);
    PutLittleEndian(header, head_, 8);
    PutLittleEndian(header, used_, 8);
    PutLittleEndian(header, count_, 8);
    storage_->write(0, header);
    storage_->flush();
    dirty_ = false;
}

}  // namespace vantrel::publish
