// How received bytes become version replies and frames: every CR ends a piece,
// and each piece is judged on its own.
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
    bool connected;
    std::string version;
    std::string analogFrame;  // empty: still the start-up default
    std::string digitalFrame;
    std::string remainder;
};

std::string Cut(const std::string& text, std::size_t from, std::size_t length) {
    return text.substr(from, length);
}

const FramingCase kCases[] = {
    {"VersionReply", {"V1.02\r"}, true, "1.02", "", "", ""},
    {"ShortVersionHasNoCr", {"V1\r"}, true, "1", "", "", ""},
    {"LongVersionKeepsFour", {"V1.02.77\r"}, true, "1.02", "", "", ""},
    {"BareV", {"V\r"}, true, "", "", "", ""},
    {"AnalogFrameWhole", {kFrameA}, false, "", kFrameA, "", ""},
    {"AnalogFrameInThreeParts",
     {Cut(kFrameA, 0, 10), Cut(kFrameA, 10, 40), Cut(kFrameA, 50, 12)},
     false,
     "",
     kFrameA,
     "",
     ""},
    {"CrArrivesAlone", {kFrameA.substr(0, 61), "\r"}, false, "", kFrameA, "", ""},
    {"TwoFramesInOneNotification", {kFrameA + kDigital}, false, "", kFrameA, kDigital, ""},
    {"ManyFramesLastWins",
     {kFrameA + kDigital + kFrameB + "00000000\r"},
     false,
     "",
     kFrameB,
     "00000000\r",
     ""},
    {"VersionThenFrameInOne", {"V2.00\r" + kFrameA}, true, "2.00", kFrameA, "", ""},
    {"FrameEndsMidNotification", {kFrameA + "+000"}, false, "", kFrameA, "", "+000"},
    {"TextWithoutCrWaits", {"+01234,-00"}, false, "", "", "", "+01234,-00"},
    {"AmbientWithTwoDecimalsIsTooLong", {kFrameA.substr(0, 61) + "0\r"}, false, "", "", "", ""},
    {"SixtyOneCharactersDropped", {kFrameA.substr(1)}, false, "", "", "", ""},
    {"NoiseBeforeFrameSpoilsOnlyThatFrame", {"x#" + kFrameA + kFrameB}, false, "", kFrameB, "", ""},
    {"NoiseWithCrLeavesNextFrameIntact", {"\x01\xff\r", kFrameA}, false, "", kFrameA, "", ""},
    {"EmptyPiecesIgnored", {"\r\r\r" + kDigital + "\r"}, false, "", "", kDigital, ""},
    {"LineFeedIsNoFrameEnd",
     {kFrameA.substr(0, 61) + "\n"},
     false,
     "",
     "",
     "",
     kFrameA.substr(0, 61) + "\n"},
};

class Framing : public ::testing::TestWithParam<FramingCase> {};

TEST_P(Framing, StateAfterNotifications) {
    const FramingCase& c = GetParam();
    LinkRig rig;
    for (const auto& chunk : c.notifications) {
        rig.port.receive(chunk);
    }
    EXPECT_EQ(rig.state.CardConnected1, c.connected);
    EXPECT_EQ(rig.state.CardVersion1, c.version);
    EXPECT_EQ(rig.state.AnalogFrame1, c.analogFrame.empty() ? kDefaultAnalogFrame1 : c.analogFrame);
    EXPECT_EQ(rig.state.DigitalFrame1, c.digitalFrame);
    EXPECT_EQ(rig.link.RxBuffer(), c.remainder);
    // Nothing of this reaches the other card.
    EXPECT_FALSE(rig.state.CardConnected2);
    EXPECT_TRUE(rig.state.AnalogFrame2.empty());
}

INSTANTIATE_TEST_SUITE_P(CardLink, Framing, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CardLinkFraming, AcceptedAnalogFrameIsDecodedAndConverted) {
    LinkRig rig;
    rig.state.InputType[7] = 0;
    rig.state.InputRange[7] = 10.0;
    rig.port.receive(kFrameA);
    EXPECT_EQ(rig.state.RawCounts[0], 1234);
    EXPECT_EQ(rig.state.RawCounts[1], -17);
    EXPECT_EQ(rig.state.RawCounts[7], 32000);
    EXPECT_FLOAT_EQ(rig.state.AmbientTemp1, 25.5f);
    EXPECT_FLOAT_EQ(rig.state.ChannelValue[7], 10.0f);
}

TEST(CardLinkFraming, CardTwoFillsItsOwnSlots) {
    LinkRig rig(1);
    rig.state.RawCounts[0] = 99;
    rig.port.receive(kFrameB + "0003FFFF\r");
    EXPECT_EQ(rig.state.AnalogFrame2, kFrameB);
    EXPECT_EQ(rig.state.AnalogFrame1, kDefaultAnalogFrame1);
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(rig.state.RawCounts[static_cast<std::size_t>(8 + c)], c + 1);
    }
    EXPECT_EQ(rig.state.RawCounts[0], 99);
    EXPECT_TRUE(rig.state.DigitalIn[16]);
    EXPECT_TRUE(rig.state.DigitalIn[17]);
    EXPECT_FALSE(rig.state.DigitalIn[0]);
    EXPECT_TRUE(rig.state.DigitalOut[31]);
    EXPECT_FALSE(rig.state.DigitalOut[15]);
}

TEST(CardLinkFraming, EveryFrameOfABurstIsCounted) {
    LinkRig rig;
    std::string burst;
    for (int i = 0; i < 50; ++i) {
        burst += kFrameA + kDigital;
    }
    // Delivered in uneven chunks that cut frames anywhere.
    for (std::size_t at = 0; at < burst.size(); at += 37) {
        rig.port.receive(burst.substr(at, 37));
    }
    EXPECT_EQ(rig.link.counters().analogFrames, 50u);
    EXPECT_EQ(rig.link.counters().digitalFrames, 50u);
    EXPECT_EQ(rig.link.counters().droppedPieces, 0u);
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
    EXPECT_GT(rig.link.counters().discardedBytes, 0u);
}

TEST(CardLinkFraming, OtherEventCodesReadNothing) {
    LinkRig rig;
    rig.port.pending = kFrameA;
    rig.link.OnReceive(1);
    rig.link.OnReceive(3);
    EXPECT_EQ(rig.port.pending, kFrameA);
    EXPECT_EQ(rig.state.AnalogFrame1, kDefaultAnalogFrame1);
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
    auto setZeroSpan = [&](int slot, bool broken) {
        rig.state.CalZero10V[slot] = 500;
        rig.state.CalSpan10V[slot] = broken ? 500 : 32000;
    };
    setZeroSpan(2, true);
    rig.port.receive(kFrameA + kFrameB + kFrameA);
    EXPECT_EQ(shown, std::vector<int>{2});
    // The frame is kept and decoded even though its conversion stopped.
    EXPECT_EQ(rig.state.AnalogFrame1, kFrameA);
    EXPECT_EQ(rig.state.RawCounts[0], 1234);

    setZeroSpan(1, true);  // a different failure, in front of the first
    rig.port.receive(kFrameB);
    EXPECT_EQ(shown, (std::vector<int>{2, 1}));

    setZeroSpan(1, false);
    setZeroSpan(2, false);
    rig.port.receive(kFrameB);  // the episode ends
    setZeroSpan(1, true);
    rig.port.receive(kFrameB);
    EXPECT_EQ(shown, (std::vector<int>{2, 1, 1}));

    // One that could not be shown while another box was open is offered again.
    setZeroSpan(1, false);
    rig.port.receive(kFrameB);
    setZeroSpan(3, true);
    boxFree = false;
    rig.port.receive(kFrameB);
    boxFree = true;
    rig.port.receive(kFrameB + kFrameB);
    EXPECT_EQ(shown, (std::vector<int>{2, 1, 1, 3, 3}));
}

TEST(CardLinkFraming, FailureHandlerThatKeepsReceivingIsNotReentered) {
    // A message box shown from the handler keeps the event loop running, so more
    // bytes arrive while the handler is still on the stack.
    LinkRig rig;
    rig.state.CalZero10V[0] = 0;
    rig.state.CalSpan10V[0] = 0;
    int depth = 0;
    int deepest = 0;
    int calls = 0;
    rig.link.setConversionFailureHandler([&](const ConversionFailure&) {
        ++depth;
        ++calls;
        deepest = std::max(deepest, depth);
        if (calls < 5) {
            rig.port.receive(kFrameB.substr(0, 30));
            rig.port.receive(kFrameB.substr(30) + kDigital);
        }
        --depth;
        // Not shown, so each following frame reports it again.
        return false;
    });
    rig.port.receive(kFrameA);
    EXPECT_EQ(deepest, 1);
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(rig.link.counters().analogFrames, 5u);
    EXPECT_EQ(rig.link.counters().digitalFrames, 4u);
    EXPECT_TRUE(rig.link.RxBuffer().empty());
}

TEST(CardLinkFraming, BytesPilingUpDuringAHandlerAreBounded) {
    LinkRig rig;
    rig.state.CalZero10V[0] = 0;
    rig.state.CalSpan10V[0] = 0;
    bool flooded = false;
    rig.link.setConversionFailureHandler([&](const ConversionFailure&) {
        if (flooded) {
            return false;
        }
        flooded = true;
        for (int i = 0; i < 3000; ++i) {
            rig.port.receive(kFrameB);
        }
        rig.port.receive("partial");
        return true;
    });
    rig.port.receive(kFrameA);
    EXPECT_LE(rig.link.counters().analogFrames * kFrameB.size(), link::kPendingLimit + 2 * 62);
    EXPECT_GT(rig.link.counters().discardedBytes, 0u);
    // Back in step at the next frame.
    const auto before = rig.link.counters().analogFrames;
    rig.port.receive("tail\r" + kFrameB);
    EXPECT_EQ(rig.link.counters().analogFrames, before + 1);
}

}  // namespace
}  // namespace vantrel::testing
