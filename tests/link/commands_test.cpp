// The set-outputs command. Guards against lower-case hex, a reversed bit order,
// the top line lost to an off-by-one, and the other card's lines mixed in.
#include "link/Commands.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace vantrel::testing {
namespace {

TEST(SetOutputsCommand, FourUpperCaseHexDigitsBitKIsLineK) {
    const struct {
        int card;
        std::initializer_list<int> slotsOn;
        const char* command;
    } cases[] = {
        {0, {0, 3}, "#D0009"},
        {0, {15, 13, 11, 10, 16}, "#DAC00"},
        {1, {16, 19, 31, 15}, "#D8009"},
        {5, {17}, "#D0002"},  // any selector but 0 is card 2
    };
    for (const auto& c : cases) {
        AcquisitionState state;
        for (const int slot : c.slotsOn) {
            state.DigitalOutCmd[static_cast<std::size_t>(slot)] = true;
        }
        EXPECT_EQ(link::SetOutputsCommand(state, c.card), c.command);
    }
}

}  // namespace
}  // namespace vantrel::testing
