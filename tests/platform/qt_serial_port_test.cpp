// Guards the Qt port's receive path on a pseudo-terminal made here: bytes that
// trickle in at a card's pace (one a millisecond) reach the handler all, in order
// and in far fewer receive events than bytes, without a byte left waiting for the
// next one to arrive. (The rest itself is 16 ms; the bound here leaves room for a
// loaded machine, the benchmark in bench/idle measures it.)
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/qt/QtSerialPort.h"
#include "tests/support/CardSimProcess.h"

namespace vantrel {
namespace {

using Clock = std::chrono::steady_clock;

TEST(QtSerialPort, TrickledBytesArriveWholeInOrderSoonAndInFewEvents) {
    const int card = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(card, 0);
    ASSERT_EQ(grantpt(card), 0);
    ASSERT_EQ(unlockpt(card), 0);
    QTemporaryDir folder;
    std::filesystem::create_symlink(ptsname(card), folder.filePath("COM7").toStdString());
    platform::QtSerialPort port(folder.path().toStdString());
    port.setPortNumber(7);
    port.open();
    ASSERT_TRUE(port.isOpen());

    std::string sent;
    for (int i = 0; i < 300; ++i) {
        sent.push_back(static_cast<char>(i % 251));  // every byte value, none twice in a row
    }
    std::vector<Clock::time_point> writtenAt;
    std::string received;
    int events = 0;
    Clock::duration longestWait{};
    port.setEventHandler([&](platform::PortEvent event) {
        ASSERT_EQ(event, platform::PortEvent::BytesReceived);
        ++events;
        const std::string bytes = port.readAvailable();
        ASSERT_LE(received.size() + bytes.size(), writtenAt.size());
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            longestWait = std::max(longestWait, Clock::now() - writtenAt[received.size() + i]);
        }
        received += bytes;
    });
    QTimer writer;
    writer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&writer, &QTimer::timeout, [&] {
        if (writtenAt.size() == sent.size()) {
            writer.stop();
            return;
        }
        writtenAt.push_back(Clock::now());
        ASSERT_EQ(::write(card, &sent[writtenAt.size() - 1], 1), 1);
    });
    writer.start(1);
    EXPECT_TRUE(testing::PumpUntil([&] { return received.size() == sent.size(); }, 10000));
    EXPECT_EQ(received, sent);
    EXPECT_LE(longestWait, std::chrono::milliseconds(150));
    EXPECT_LT(events, static_cast<int>(sent.size()) / 4);
    port.close();
    ::close(card);
}

}  // namespace
}  // namespace vantrel
