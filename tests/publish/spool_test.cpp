// Guards the spool: messages out of order (across the ring's end too), the newest
// dropped instead of the oldest, a message removed before it was acknowledged, a
// resent message queued behind newer ones, a spool lost across a restart, and a
// damaged or cut file read past its damage or losing what came before it.
#include <gtest/gtest.h>

#include "publish/Spool.h"
#include "tests/engine/TempFolder.h"

namespace vantrel::testing {
namespace {

using publish::Spool;
using publish::SpooledMessage;

SpooledMessage Message(int n) {
    // 8 + 3 + 9 = 20 bytes in the ring.
    return {"t/" + std::to_string(n % 10), "payload-" + std::to_string(n % 10), 1, n % 2 == 0};
}

std::vector<SpooledMessage> ReadAll(Spool& spool) {
    std::vector<SpooledMessage> all;
    Spool::Position at = spool.front();
    while (auto message = spool.read(at)) {
        all.push_back(*message);
    }
    return all;
}

std::unique_ptr<publish::MemorySpoolStorage> Memory(std::string bytes = {}) {
    return std::make_unique<publish::MemorySpoolStorage>(std::move(bytes));
}

TEST(SpoolTest, KeepsOrderAcrossTheRingsEndAndDropsTheOldestWhenFull) {
    Spool spool(Memory(), 100);  // room for five messages
    for (int n = 0; n < 4; ++n) {
        spool.pushBack(Message(n));
    }
    spool.popFront();
    spool.popFront();
    for (int n = 4; n < 9; ++n) {  // wraps, then pushes out 2 and 3
        spool.pushBack(Message(n));
    }
    EXPECT_EQ(spool.dropped(), 2u);
    EXPECT_EQ(ReadAll(spool), (std::vector<SpooledMessage>{Message(4), Message(5), Message(6),
                                                           Message(7), Message(8)}));
    EXPECT_EQ(spool.usedBytes(), 100u);
}

TEST(SpoolTest, ResentMessagesGoFirstAndAReaderSurvivesDrops) {
    Spool spool(Memory(), 100);
    spool.pushBack(Message(2));
    spool.pushBack(Message(3));
    spool.pushFront(Message(1));
    Spool::Position at = spool.front();
    EXPECT_EQ(spool.read(at), Message(1));
    spool.pushBack(Message(4));
    spool.pushBack(Message(5));
    spool.pushFront(Message(0));  // full: the oldest of all is the one to go
    EXPECT_EQ(spool.dropped(), 1u);
    spool.pushBack(Message(6));  // drops 1, where the reader stood
    EXPECT_EQ(spool.read(at), Message(2));
    while (spool.read(at)) {
    }
    while (!spool.empty()) {
        spool.popFront();  // the ring starts over at its beginning
    }
    spool.pushBack(Message(7));
    EXPECT_EQ(spool.read(at), Message(7));
}

TEST(SpoolTest, SurvivesARestartAndEmptiesTheFileOnceDelivered) {
    TempFolder folder;
    const std::string path = folder.file("vantrel-mqtt.spool");
    {
        Spool spool(publish::FileSpoolStorage::Open(path), 100);
        for (int n = 0; n < 7; ++n) {
            spool.pushBack(Message(n));
        }
        spool.popFront();
        spool.sync();
    }
    Spool reopened(publish::FileSpoolStorage::Open(path), 1000);
    EXPECT_EQ(ReadAll(reopened),
              (std::vector<SpooledMessage>{Message(3), Message(4), Message(5), Message(6)}));
    while (!reopened.empty()) {
        reopened.popFront();
    }
    reopened.sync();
    EXPECT_EQ(folder.read("vantrel-mqtt.spool").size(), 40u);
}

TEST(SpoolTest, DamageIsCountedAndWhatCameBeforeItIsKept) {
    auto storage = Memory();
    const publish::MemorySpoolStorage& written = *storage;
    Spool original(std::move(storage), 1000);
    for (int n = 0; n < 3; ++n) {
        original.pushBack(Message(n));
    }
    original.sync();
    const std::string bytes = written.bytes();  // 40-byte header, 20 bytes a message
    const struct {
        std::size_t at;  // the byte changed, or the length kept when cut
        bool cut;
        std::ptrdiff_t kept;
        std::uint64_t damaged;
    } cases[] = {
        {0, false, 0, 100},  // not a spool
        {60, false, 1, 40},  // the second message's mark
        {61, false, 1, 40},  // its flags
        {90, true, 2, 20},   // cut short of what the header counts
        {50, true, 0, 60},   // cut inside the first message
    };
    for (const auto& c : cases) {
        std::string damaged = bytes;
        if (c.cut) {
            damaged.resize(c.at);
        } else {
            damaged[c.at] = '\x7F';
        }
        Spool spool(Memory(damaged), 1000);
        const std::vector<SpooledMessage> all{Message(0), Message(1), Message(2)};
        EXPECT_EQ(ReadAll(spool), std::vector(all.begin(), all.begin() + c.kept)) << c.at;
        EXPECT_EQ(spool.damagedBytes(), c.damaged) << c.at;
    }
}

}  // namespace
}  // namespace vantrel::testing
