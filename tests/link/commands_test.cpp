// The set-outputs command. Guards against lower-case hex, a reversed bit order,
// the top line lost to an off-by-one, and the other card's lines mixed in.
#include "link/Commands.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace vantrel::testing {

TEST(SetOutputsCommand, FourUpperCaseHexDigitsBitKIsLineK) {
    auto command = [](int card, std::initializer_list<int> slotsOn) {
        AcquisitionState state;
        for (const int slot : slotsOn) {
            state.DigitalOutCmd[static_cast<std::size_t>(slot)] = true;
        }
        return link::SetOutputsCommand(state, card);
    };
    EXPECT_EQ(command(0, {0, 3}), "#D0009");
    EXPECT_EQ(command(0, {15, 13, 11, 10, 16}), "#DAC00");
    EXPECT_EQ(command(1, {16, 19, 31, 15}), "#D8009");
    EXPECT_EQ(command(5, {17}), "#D0002");  // any selector but 0 is card 2
}

}  // namespace vantrel::testing
