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
    {"NoneOn", 0, {}, "#D0000"},
    {"Lines0And3", 0, {0, 3}, "#D0009"},
    {"TopLineUpperCaseHex", 0, {15, 13, 11, 10}, "#DAC00"},
    {"CardTwoUsesSlots16Up", 1, {16, 19}, "#D0009"},
    {"CardTwoAllOn", 1, {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31}, "#DFFFF"},
    {"CardOneIgnoresCardTwoLines", 0, {16, 31, 40}, "#D0000"},
    {"CardTwoIgnoresCardOneLines", 1, {0, 15, 32}, "#D0000"},
    {"AnyNonZeroSelectorIsCardTwo", 5, {17}, "#D0002"},
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
