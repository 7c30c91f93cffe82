// Guards reading a port typed or picked in the port dialog: the range 1-255 off by
// one at either end, letter case, and trailing junk or overflow taken as a number.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "app/PortChoice.h"

namespace vantrel {
namespace {

TEST(PortChoiceTest, ReadsPickedAndTypedPortsAndRefusesTheRest) {
    const std::pair<std::string, std::optional<int>> cases[] = {
        {"COM 1", 1},
        {"COM 255", 255},
        {"com7", 7},
        {"  COM 3  ", 3},
        {"42", 42},
        {"", std::nullopt},
        {"COM 0", std::nullopt},
        {"256", std::nullopt},
        {"COM 1a", std::nullopt},
        {"-3", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& [text, port] : cases) {
        EXPECT_EQ(ParsePortChoice(text), port) << '"' << text << '"';
    }
    EXPECT_EQ(PortChoiceText(3), "COM 3");
}

}  // namespace
}  // namespace vantrel
