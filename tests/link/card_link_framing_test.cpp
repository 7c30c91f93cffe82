// How received bytes become version replies and frames. Guards against a frame
// length off by one (61/63, 8/10 accepted), the version taken from the wrong
// characters, a split frame not reassembled, either of two CR-ended frames in one
// read lost, a frame decoded into the other card's slots, unbounded buffers, a
// handler re-entered from its own message box, and a box for every failing frame.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "tests/link/LinkFixture.h"

namespace vantrel::testing {
namespace {

// Counts 1234, -17, 0, 0, 0, 0, 0, 32000 and an ambient of 25.5.
const std::string kFrame = "+01234,-00017,+00000,+00000,+00000,+00000,+00000,+32000,+25.5\r";
const std::string kDigital = "8001000F\r";

TEST(CardLinkFraming, EachCrEndedPieceIsJudgedOnItsOwn) {
    LinkRig rig;
    rig.port.receive("V1.02.77\r");
    EXPECT_TRUE(rig.state.CardConnected1);
    EXPECT_EQ(rig.state.CardVersion1, "1.02");
    rig.port.receive("V1\r");
    EXPECT_EQ(rig.state.CardVersion1, "1");
    // 61, 63, 10 and 8 characters.
    rig.port.receive(kFrame.substr(1) + "0" + kFrame + "0" + kDigital + kDigital.substr(1));
    EXPECT_EQ(rig.link.counters().droppedPieces, 4u);
    EXPECT_EQ(rig.state.AnalogFrame1, kDefaultAnalogFrame1);
    EXPECT_EQ(rig.state.DigitalFrame1, "");
    rig.port.receive(kFrame.substr(0, 10));
    rig.port.receive(kFrame.substr(10) + kDigital + "+000");
    EXPECT_EQ(rig.state.AnalogFrame1, kFrame);
    EXPECT_EQ(rig.state.DigitalFrame1, kDigital);
    EXPECT_EQ(rig.link.counters().bufferedBytes, 4u);  // "+000" waits for its CR
    EXPECT_TRUE(rig.state.AnalogFrame2.empty());
}

// Card 2's frames fill its own slots (the decoder's rule; here the counts handed over
// show it), and listeners take the values from the frame: a slot that failed carries
// none (the state keeping its earlier value is Conversion.AFailureStopsTheCard...).
// A piece too short after them is dropped without a word to the listeners.
TEST(CardLinkFraming, ListenersAreHandedEachFrameWithItsOwnValues) {
    LinkRig rig(1);
    rig.state.InputType[10] = 1;
    std::vector<link::FrameEvent> heard;
    rig.link.addFrameListener([&](const link::FrameEvent& event) { heard.push_back(event); });
    rig.clock.current.millisecond = 250;
    rig.port.receive("V2.10\r" + kFrame + "0003FFFF\r");
    EXPECT_EQ(rig.state.CardVersion2, "2.10");
    EXPECT_TRUE(rig.state.DigitalIn[17] && rig.state.DigitalOut[31]);
    rig.state.CalSpan10V[13] = 0;
    rig.clock.current.millisecond = 500;
    rig.port.receive(kFrame + kFrame.substr(1));
    ASSERT_EQ(heard.size(), 3u);

    const auto& whole = std::get<ConvertedFrame>(heard[0]);
    EXPECT_EQ(whole.card, 1);
    EXPECT_EQ(whole.convertedAt.millisecond, 250);
    EXPECT_EQ(whole.rawCounts[0], 1234);
    EXPECT_EQ(whole.rawCounts[1], -17);
    EXPECT_EQ(whole.inputTypes[2], 1);
    EXPECT_FLOAT_EQ(whole.ambient, 25.5f);
    EXPECT_FLOAT_EQ(whole.values[7].value_or(0.0f), 10.0f);
    EXPECT_FALSE(whole.failure);

    const auto& lines = std::get<DigitalFrame>(heard[1]);
    EXPECT_EQ(lines.card, 1);
    EXPECT_EQ(lines.inputs, 0x0003);
    EXPECT_EQ(lines.outputs, 0xFFFF);

    const auto& failed = std::get<ConvertedFrame>(heard[2]);
    EXPECT_EQ(failed.convertedAt.millisecond, 500);
    ASSERT_TRUE(failed.failure);
    EXPECT_EQ(failed.failure->slot, 13);
    EXPECT_TRUE(failed.values[4]);
    EXPECT_FALSE(failed.values[5]);
    EXPECT_FALSE(failed.values[7]);
}

TEST(CardLinkFraming, StreamWithoutCrIsBoundedAndResynchronises) {
    LinkRig rig;
    const std::string junk(3000, 'x');
    for (int i = 0; i < 10; ++i) {
        rig.port.receive(junk);
        EXPECT_LE(rig.link.counters().bufferedBytes, 4096u);
    }
    // The rest of the endless line is thrown away up to its CR; then frames count.
    rig.port.receive(junk + "\r" + kFrame);
    EXPECT_EQ(rig.state.AnalogFrame1, kFrame);
}

// A lasting fault fails every frame (five a second); the user hears of it once
// until a frame converts without it.
TEST(CardLinkFraming, ALastingConversionFailureIsShownOncePerEpisode) {
    LinkRig rig;
    std::vector<int> shown;
    bool boxFree = true;
    bool flood = true;
    rig.link.setConversionFailureHandler([&](const ConversionFailure& failure) {
        shown.push_back(failure.slot);
        // The box keeps the event loop running: frames arrive while this runs.
        if (std::exchange(flood, false)) {
            for (int i = 0; i < 3000; ++i) {
                rig.port.receive(kFrame);
            }
        }
        return boxFree;
    });
    auto setBroken = [&](int slot, bool broken) {
        rig.state.CalZero10V[slot] = 500;
        rig.state.CalSpan10V[slot] = broken ? 500 : 32000;
    };
    setBroken(2, true);
    rig.port.receive(kFrame);
    // They waited for the handler to return, up to 64 KiB.
    const auto frames = rig.link.counters().analogFrames;
    EXPECT_GT(frames, 1000u);
    EXPECT_LE(frames * kFrame.size(), 65536u + kFrame.size());
    setBroken(1, true);  // a different failure, in front of the first
    rig.port.receive(kFrame);
    setBroken(1, false);
    setBroken(2, false);
    rig.port.receive(kFrame);  // the episode ends
    setBroken(1, true);
    rig.port.receive(kFrame);
    setBroken(1, false);
    // One that could not be shown while another box was open is offered again.
    setBroken(3, true);
    boxFree = false;
    rig.port.receive(kFrame);
    boxFree = true;
    rig.port.receive(kFrame + kFrame);
    EXPECT_EQ(shown, (std::vector<int>{2, 1, 1, 3, 3}));
}

}  // namespace
}  // namespace vantrel::testing
