// How received bytes become version replies and frames. Guards against a frame
// length off by one (61/63, 8/10 accepted), the version taken from the wrong
// characters, a split frame not reassembled, two CR-ended frames in one read
// losing either, a frame landing in the other card's slots, unbounded buffers,
// a handler re-entered from its own message box, and a box for every failing frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/link/LinkFixture.h"

namespace vantrel::testing {
namespace {

const std::string kFrameA = AnalogFrame({1234, -17, 0, 0, 0, 0, 0, 32000}, "+25.5");
const std::string kFrameB = AnalogFrame({1, 2, 3, 4, 5, 6, 7, 8}, "+21.0");
const std::string kDigital = "8001000F\r";

struct FramingCase {
    const char* name;
    std::vector<std::string> notifications;
    // What card 1's state holds afterwards.
    std::string version;      // empty: no reply, not connected
    std::string analogFrame;  // empty: still the start-up default
    std::string digitalFrame;
    std::string remainder;
};

const FramingCase kCases[] = {
    {"VersionReply", {"V1.02\r"}, "1.02", "", "", ""},
    {"ShortVersionHasNoCr", {"V1\r"}, "1", "", "", ""},
    {"LongVersionKeepsFour", {"V1.02.77\r"}, "1.02", "", "", ""},
    {"AnalogFrameInThreeParts",
     {kFrameA.substr(0, 10), kFrameA.substr(10, 40), kFrameA.substr(50)},
     "",
     kFrameA,
     "",
     ""},
    {"TwoFramesInOneReadBothKept", {kFrameA + kDigital + "+000"}, "", kFrameA, kDigital, "+000"},
    {"SixtyThreeDropped", {kFrameA.substr(0, 61) + "0\r"}, "", "", "", ""},
    {"SixtyOneDropped", {kFrameA.substr(1)}, "", "", "", ""},
    {"DigitalTenDropped", {"0" + kDigital}, "", "", "", ""},
    {"DigitalEightDropped", {kDigital.substr(1)}, "", "", "", ""},
};

class Framing : public ::testing::TestWithParam<FramingCase> {};

TEST_P(Framing, StateAfterNotifications) {
    const FramingCase& c = GetParam();
    LinkRig rig;
    for (const auto& chunk : c.notifications) {
        rig.port.receive(chunk);
    }
    EXPECT_EQ(rig.state.CardConnected1, !c.version.empty());
    EXPECT_EQ(rig.state.CardVersion1, c.version);
    EXPECT_EQ(rig.state.AnalogFrame1, c.analogFrame.empty() ? kDefaultAnalogFrame1 : c.analogFrame);
    EXPECT_EQ(rig.state.DigitalFrame1, c.digitalFrame);
    EXPECT_EQ(rig.link.RxBuffer(), c.remainder);
    EXPECT_FALSE(rig.state.CardConnected2);
    EXPECT_TRUE(rig.state.AnalogFrame2.empty());
}

INSTANTIATE_TEST_SUITE_P(CardLink, Framing, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CardLinkFraming, CardTwoFramesAreDecodedAndConvertedIntoItsOwnSlots) {
    LinkRig rig(1);
    rig.state.InputType[15] = 0;
    rig.state.InputRange[15] = 10.0;
    rig.port.receive("V2.10\r" + kFrameA + "0003FFFF\r");
    EXPECT_EQ(rig.state.CardVersion2, "2.10");
    EXPECT_EQ(rig.state.AnalogFrame2, kFrameA);
    EXPECT_EQ(rig.state.AnalogFrame1, kDefaultAnalogFrame1);
    EXPECT_EQ(rig.state.RawCounts[8], 1234);
    EXPECT_EQ(rig.state.RawCounts[0], 0);
    EXPECT_FLOAT_EQ(rig.state.AmbientTemp2, 25.5f);
    EXPECT_FLOAT_EQ(rig.state.ChannelValue[15], 10.0f);
    EXPECT_TRUE(rig.state.DigitalIn[17]);
    EXPECT_FALSE(rig.state.DigitalIn[1]);
    EXPECT_TRUE(rig.state.DigitalOut[31]);
    EXPECT_FALSE(rig.state.DigitalOut[15]);
}

TEST(CardLinkFraming, StreamWithoutCrIsBoundedAndResynchronises) {
    LinkRig rig;
    const std::string junk(3000, 'x');
    for (int i = 0; i < 10; ++i) {
        rig.port.receive(junk);
        EXPECT_LE(rig.link.RxBuffer().size(), link::kReceiveBufferLimit);
    }
    // The rest of the endless line is thrown away up to its CR; then frames count.
    rig.port.receive(junk + "\r" + kFrameA);
    EXPECT_EQ(rig.state.AnalogFrame1, kFrameA);
    EXPECT_EQ(rig.link.counters().analogFrames, 1u);
}

// A lasting fault fails every frame (five a second); the user hears of it once
// until a frame converts without it.
TEST(CardLinkFraming, ALastingConversionFailureIsShownOncePerEpisode) {
    LinkRig rig;
    std::vector<int> shown;
    bool boxFree = true;
    rig.link.setConversionFailureHandler([&](const ConversionFailure& failure) {
        shown.push_back(failure.slot);
        return boxFree;
    });
    auto setBroken = [&](int slot, bool broken) {
        rig.state.CalZero10V[slot] = 500;
        rig.state.CalSpan10V[slot] = broken ? 500 : 32000;
    };
    setBroken(2, true);
    rig.port.receive(kFrameA + kFrameB + kFrameA);
    EXPECT_EQ(shown, std::vector<int>{2});
    setBroken(1, true);  // a different failure, in front of the first
    rig.port.receive(kFrameB);
    EXPECT_EQ(shown, (std::vector<int>{2, 1}));
    setBroken(1, false);
    setBroken(2, false);
    rig.port.receive(kFrameB);  // the episode ends
    // One that could not be shown while another box was open is offered again.
    setBroken(3, true);
    boxFree = false;
    rig.port.receive(kFrameB);
    boxFree = true;
    rig.port.receive(kFrameB + kFrameB);
    EXPECT_EQ(shown, (std::vector<int>{2, 1, 3, 3}));
}

// A message box shown from the handler keeps the event loop running, so bytes
// arrive while the handler is still on the stack: they wait, within a limit.
TEST(CardLinkFraming, BytesArrivingDuringTheHandlerWaitAndAreBounded) {
    LinkRig rig;
    rig.state.CalZero10V[0] = 0;
    rig.state.CalSpan10V[0] = 0;
    int depth = 0;
    int calls = 0;
    rig.link.setConversionFailureHandler([&](const ConversionFailure&) {
        EXPECT_EQ(++depth, 1);
        if (++calls == 1) {
            for (int i = 0; i < 3000; ++i) {
                rig.port.receive(kFrameB);
            }
            rig.port.receive("partial");
        }
        --depth;
        return false;  // not shown, so every frame offers it again
    });
    rig.port.receive(kFrameA);
    const auto kept = rig.link.counters().analogFrames;
    EXPECT_GT(kept, 1000u);
    EXPECT_LE(kept * kFrameB.size(), link::kPendingLimit + kFrameA.size());
    EXPECT_EQ(calls, static_cast<int>(kept));
    // Back in step at the next frame.
    rig.port.receive("tail\r" + kFrameB);
    EXPECT_EQ(rig.link.counters().analogFrames, kept + 1);
}

}  // namespace
}  // namespace vantrel::testing
