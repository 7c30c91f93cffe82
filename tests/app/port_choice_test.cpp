#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/PortChoice.h"

namespace vantrel {
namespace {

struct PortChoiceCase {
    std::string text;
    std::optional<int> port;
};

class PortChoiceTest : public ::testing::TestWithParam<PortChoiceCase> {};

TEST_P(PortChoiceTest, ReadsPickedAndTypedPortsAndRefusesTheRest) {
    EXPECT_EQ(ParsePortChoice(GetParam().text), GetParam().port) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PortChoiceTest,
    ::testing::Values(
        PortChoiceCase{"COM 1", 1}, PortChoiceCase{"COM 255", 255}, PortChoiceCase{"COM7", 7},
        PortChoiceCase{"com 12", 12}, PortChoiceCase{"  COM 3  ", 3}, PortChoiceCase{"42", 42},
        PortChoiceCase{"007", 7}, PortChoiceCase{"", std::nullopt},
        PortChoiceCase{"COM", std::nullopt}, PortChoiceCase{"COM 0", std::nullopt},
        PortChoiceCase{"0", std::nullopt}, PortChoiceCase{"256", std::nullopt},
        PortChoiceCase{"COM 1000", std::nullopt},
        PortChoiceCase{"99999999999999999999", std::nullopt}, PortChoiceCase{"-3", std::nullopt},
        PortChoiceCase{"COM 1a", std::nullopt}, PortChoiceCase{"COM 1 2", std::nullopt},
        PortChoiceCase{"/dev/ttyUSB0", std::nullopt}, PortChoiceCase{"LPT 1", std::nullopt}));

TEST(PortChoiceText, IsTheListEntryThatReadsBack) {
    for (int port : {1, 9, 10, 255}) {
        EXPECT_EQ(ParsePortChoice(PortChoiceText(port)), port);
    }
    EXPECT_EQ(PortChoiceText(3), "COM 3");
}

}  // namespace
}  // namespace vantrel
