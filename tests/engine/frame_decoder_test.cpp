// Guards the frame decoders. Analog: exactly 62 characters, count k at characters
// 7k+1..7k+6, the ambient at 57..61, card 2 into slots 8..15 only, counts rounded
// half to even (the fields' reading is guarded with the reader), a count beyond 16 bits or an
// ambient beyond a single dropping the whole frame. Digital: exactly 9 characters, bit k of each
// hex group is line k, either letter case, card 2 into lines 16..31 only, a group that is not four
// hex digits dropping the frame.
#include <gtest/gtest.h>

#include "engine/AnalogDecoder.h"
#include "engine/DigitalDecoder.h"

namespace vantrel {
namespace {

std::string AnalogFrame(const std::array<const char*, 8>& counts, const char* ambient) {
    std::string frame;
    for (const char* count : counts) {
        frame = frame + count + ',';
    }
    return frame + ambient + '\r';
}

TEST(AnalogFrame, EachCardFillsItsOwnSlotsWithCountsRoundedHalfToEven) {
    AcquisitionState state;
    state.RawCounts.fill(7);
    DecodeAnalogFrame(state, 0);
    EXPECT_EQ(state.RawCounts[0], 0) << "the start frame";
    state.AnalogFrame2 = AnalogFrame(
        {"0002.5", "0003.5", "-002.5", "+32767", "-32768", "  7  8", "\t-\t9 0", "x12345"},
        "-03.2");
    DecodeAnalogFrame(state, 2);
    const int expected[] = {2, 4, -2, 32767, -32768, 78, -90, 0};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(state.RawCounts[k], 0) << k;
        EXPECT_EQ(state.RawCounts[k + 8], expected[k]) << k;
    }
    EXPECT_EQ(state.AmbientTemp2, -3.2f);
    EXPECT_EQ(state.AmbientTemp1, 25.0f);
}

TEST(AnalogFrame, AFrameThatCannotBeHeldChangesNothing) {
    const std::string good = AnalogFrame(
        {"+00012", "-00012", "+00000", "+00000", "+00000", "+00000", "+00000", "+10000"}, "+24.5");
    // Every field differs from the good frame, so storing part of a frame shows.
    const std::string other = AnalogFrame(
        {"+00001", "+00001", "+00001", "+00001", "+00001", "+00001", "+00001", "+00001"}, "+30.0");
    std::string tooLarge = other, tooSmall = other, hugeAmbient = other;
    tooLarge.replace(49, 6, "+32768");
    tooSmall.replace(0, 6, "-32769");
    hugeAmbient.replace(56, 5, "+9e99");
    AcquisitionState state;
    state.AnalogFrame1 = good;
    DecodeAnalogFrame(state, 0);
    for (const std::string& bad :
         {good.substr(0, 61), good + "\r", tooLarge, tooSmall, hugeAmbient}) {
        state.AnalogFrame1 = bad;
        DecodeAnalogFrame(state, 0);
        EXPECT_EQ(state.RawCounts[0], 12) << bad;
        EXPECT_EQ(state.RawCounts[7], 10000) << bad;
        EXPECT_EQ(state.AmbientTemp1, 24.5f) << bad;
    }
}

std::string Lines(const Slots<bool, kLineArraySize>& states) {
    std::string text;
    for (int line = 0; line < kUsedLines; ++line) {
        text += states[line] ? '1' : '0';
    }
    return text;
}

// Card 2 is decoded after card 1, so writing into card 1's lines would show. Each
// refused frame would turn lines 1..15 on if it were taken.
TEST(DigitalFrame, BitKOfEachGroupIsLineKOfItsCard) {
    AcquisitionState state;
    state.DigitalFrame1 = "00010000\r";
    state.DigitalFrame2 = "8000ffFF\r";
    DecodeDigitalFrame(state, 0);
    DecodeDigitalFrame(state, 2);
    EXPECT_EQ(Lines(state.DigitalIn), "10000000000000000000000000000001");
    EXPECT_EQ(Lines(state.DigitalOut), "00000000000000001111111111111111");
    for (const char* bad : {"FFFG0000\r", "FFFF000x\r", "+FFF0000\r", " FFF0000\r", "0xFF0000\r",
                            "FFFF000\r", "FFFF00000\r"}) {
        state.DigitalFrame1 = bad;
        DecodeDigitalFrame(state, 0);
        EXPECT_EQ(Lines(state.DigitalIn), "10000000000000000000000000000001") << bad;
    }
}

}  // namespace
}  // namespace vantrel
