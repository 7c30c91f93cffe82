// The link on a real serial port (Qt Serial Port on a pseudo-terminal) talking to
// vantrel-cardsim inside the Qt event loop.
#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "link/CardLink.h"
#include "link/Commands.h"
#include "link/TaskSequencer.h"
#include "platform/qt/QtSerialPort.h"
#include "tests/support/CardSimProcess.h"
#include "tests/support/FakeTimer.h"

namespace vantrel::testing {
namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Card 1 on COM1 of a simulator's folder; the reopen and start-pause timers are
// fired by the test.
class PtyLink : public ::testing::Test {
  protected:
    bool startCard(const QStringList& arguments) {
        if (!sim.start(1, arguments)) {
            return false;
        }
        port = std::make_unique<platform::QtSerialPort>(sim.dir());
        link = std::make_unique<link::CardLink>(state, 0, *port, reopen, sequencer);
        link->OpenCardPort();
        return state.PortOpen1;
    }
    void startTask() {
        state.TaskRunning1 = true;
        link->SendCommand(link::kCommandStartArm);
        link->SendCommand(link::kCommandStartRun);
    }
    // Waits for the answer to a fresh "?": whatever the card sent before it has
    // then been handled.
    bool roundTrip() {
        const auto replies = link->counters().versionReplies;
        link->SendCommand(link::kCommandVersion);
        return PumpUntil([&] { return link->counters().versionReplies > replies; });
    }
    std::uint64_t analogFrames() const { return link->counters().analogFrames; }

    CardSimProcess sim;
    AcquisitionState state;
    FakeTimer reopen;
    FakeTimer delay;
    link::TaskSequencer sequencer{state, delay,
                                  [this](int, std::string_view text) { link->SendCommand(text); }};
    std::unique_ptr<platform::QtSerialPort> port;
    std::unique_ptr<link::CardLink> link;
};

TEST_F(PtyLink, VersionFramesOutputsAndStop) {
    ASSERT_TRUE(startCard({"--card-version", "3.14", "--rate", "200", "--ch", "0=count:1234",
                           "--ch", "1=count:-17", "--ch", "7=count:32000", "--ambient", "21.5",
                           "--inputs", "8001"}));
    ASSERT_TRUE(PumpUntil([&] { return state.CardConnected1; }));
    EXPECT_EQ(state.CardVersion1, "3.14");
    EXPECT_EQ(analogFrames(), 0u);

    startTask();
    ASSERT_TRUE(PumpUntil([&] { return analogFrames() >= 5; }));
    EXPECT_EQ(state.AnalogFrame1.size(), 62u);
    EXPECT_EQ(state.RawCounts[0], 1234);
    EXPECT_EQ(state.RawCounts[1], -17);
    EXPECT_EQ(state.RawCounts[7], 32000);
    EXPECT_FLOAT_EQ(state.AmbientTemp1, 21.5f);
    EXPECT_FLOAT_EQ(state.ChannelValue[7], 10.0f);
    EXPECT_TRUE(state.DigitalIn[0]);
    EXPECT_TRUE(state.DigitalIn[15]);
    EXPECT_FALSE(state.DigitalIn[1]);
    EXPECT_FALSE(state.DigitalOut[0]);

    state.DigitalOutCmd[0] = true;
    state.DigitalOutCmd[3] = true;
    link->SendCommand(link::SetOutputsCommand(state, 0));
    ASSERT_TRUE(PumpUntil([&] { return state.DigitalOut[0]; }));
    EXPECT_TRUE(state.DigitalOut[3]);
    EXPECT_FALSE(state.DigitalOut[1]);
    EXPECT_EQ(state.DigitalFrame1, "80010009\r");

    link->SendCommand(link::kCommandStop);
    ASSERT_TRUE(roundTrip());
    const auto afterStop = analogFrames();
    PumpFor(100);  // twenty frame periods
    ASSERT_TRUE(roundTrip());
    EXPECT_EQ(analogFrames(), afterStop);
    EXPECT_EQ(link->counters().droppedPieces, 0u);
    EXPECT_EQ(sim.stop(), 0);
}

struct FaultCase {
    const char* name;
    QStringList arguments;
};

// Faults run one family at a time: noise in front of a frame that is one
// character short adds up to a well-formed length, which no receiver can tell.
const FaultCase kFaultCases[] = {
    {"Noise", {"--noise", "2", "--seed", "7"}},
    {"SplitAndBatched", {"--split", "--split-gap", "2", "--batch", "3"}},
    {"WrongLengthOutOfRangeBadHex",
     {"--wrong-length", "3", "--out-of-range", "4", "--bad-hex", "5"}},
};

class PtyFaults : public PtyLink, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(PtyFaults, StateStaysConsistent) {
    QStringList arguments{"--rate", "400",           "--ch",     "0=count:1234",
                          "--ch",   "5=count:-3000", "--inputs", "00F0"};
    arguments += GetParam().arguments;
    ASSERT_TRUE(startCard(arguments));
    ASSERT_TRUE(PumpUntil([&] { return state.CardConnected1; }));
    startTask();
    // Checked after every notification: faulty frames never show in the values.
    // Each kind is judged once its first frame is in: a split write can deliver
    // an analog frame one notification before the digital frame sent with it.
    bool analogConsistent = true;
    bool digitalConsistent = true;
    bool bufferBounded = true;
    ASSERT_TRUE(PumpUntil([&] {
        if (analogFrames() > 0) {
            analogConsistent = analogConsistent && state.RawCounts[0] == 1234 &&
                               state.RawCounts[5] == -3000 && state.RawCounts[1] == 0;
        }
        if (link->counters().digitalFrames > 0) {
            digitalConsistent = digitalConsistent && state.DigitalIn[4] && !state.DigitalIn[0];
        }
        bufferBounded = bufferBounded && link->RxBuffer().size() <= link::kReceiveBufferLimit;
        return analogFrames() >= 60 && link->counters().digitalFrames > 0;
    }));
    EXPECT_TRUE(analogConsistent);
    EXPECT_TRUE(digitalConsistent);
    EXPECT_TRUE(bufferBounded);
    EXPECT_EQ(state.AnalogFrame1.size(), 62u);
    EXPECT_EQ(state.DigitalFrame1.size(), 9u);
    // Still talking.
    link->SendCommand(link::kCommandStop);
    EXPECT_TRUE(roundTrip());
    EXPECT_EQ(sim.stop(), 0);
}

INSTANTIATE_TEST_SUITE_P(CardSim, PtyFaults, ::testing::ValuesIn(kFaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PtyLink, UnplugAndReplugResumesTheTask) {
    ASSERT_TRUE(startCard({"--rate", "200", "--ch", "2=count:777"}));
    ASSERT_TRUE(PumpUntil([&] { return state.CardConnected1; }));
    startTask();
    ASSERT_TRUE(PumpUntil([&] { return analogFrames() >= 3; }));

    sim.signal(SIGUSR1);
    ASSERT_TRUE(sim.waitForLine("hangup"));
    ASSERT_TRUE(PumpUntil([&] { return state.PortLost1; }));
    EXPECT_FALSE(port->isOpen());
    EXPECT_TRUE(reopen.isActive());

    // While the port is gone the program waits in the event loop, not on a core.
    const double cpuBefore = CpuSeconds();
    PumpFor(500);
    EXPECT_LT(CpuSeconds() - cpuBefore, 0.25);

    // The simulator is not back yet: the retry fails quietly.
    reopen.tick();
    EXPECT_TRUE(state.PortLost1);
    EXPECT_FALSE(port->isOpen());

    sim.signal(SIGUSR2);
    ASSERT_TRUE(sim.waitForLine("ready"));
    const auto replies = link->counters().versionReplies;
    const auto frames = analogFrames();
    reopen.tick();
    EXPECT_FALSE(state.PortLost1);
    EXPECT_TRUE(port->isOpen());
    ASSERT_TRUE(PumpUntil([&] { return link->counters().versionReplies > replies; }));
    ASSERT_TRUE(delay.isActive());
    delay.tick();
    ASSERT_TRUE(PumpUntil([&] { return analogFrames() >= frames + 3; }));
    EXPECT_EQ(state.RawCounts[2], 777);
    EXPECT_TRUE(state.PortOpen1);
    EXPECT_EQ(sim.stop(), 0);
}

TEST_F(PtyLink, SimulatorRemovesItsLinkOnExit) {
    ASSERT_TRUE(startCard({}));
    const std::string linkPath = sim.dir() + "/COM1";
    ASSERT_TRUE(std::filesystem::is_symlink(linkPath));
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(linkPath)));
}

}  // namespace
}  // namespace vantrel::testing
