// The set-outputs command. Guards against lower-case hex, a reversed bit order,
// the top line lost to an off-by-one, and the other card's lines mixed in.
#include "link/Commands.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace vantrel::testing {
namespace {

struct OutputsCase {
    const char* name;
    int card;
    std::initializer_list<int> slotsOn;
    const char* command;
};

const OutputsCase kOutputCases[] = {
    {"Lines0And3", 0, {0, 3}, "#D0009"},
    {"TopLineUpperCaseHex", 0, {15, 13, 11, 10}, "#DAC00"},
    {"CardOneIgnoresCardTwoLines", 0, {16, 31}, "#D0000"},
    {"CardTwoUsesSlots16Up", 1, {16, 19, 31}, "#D8009"},
    {"AnyNonZeroSelectorIsCardTwo", 5, {17, 15}, "#D0002"},
};

class SetOutputs : public ::testing::TestWithParam<OutputsCase> {};

TEST_P(SetOutputs, PatternOfCommandedLines) {
    AcquisitionState state;
    for (const int slot : GetParam().slotsOn) {
        state.DigitalOutCmd[static_cast<std::size_t>(slot)] = true;
    }
    EXPECT_EQ(link::SetOutputsCommand(state, GetParam().card), GetParam().command);
}

INSTANTIATE_TEST_SUITE_P(Commands, SetOutputs, ::testing::ValuesIn(kOutputCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantrel::testing
