#pragma once

// The port-number text of the card communication boxes: a picked entry "COM 7",
// or typed "COM7", "com 7" or "7". Anything else, and numbers outside 1..255,
// give nothing, so a typed slip can never store port 0.

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

inline constexpr int kFirstPortNumber = 1;
inline constexpr int kLastPortNumber = 255;

std::optional<int> ParsePortChoice(std::string_view text);

// "COM 7": the list entry for a port number.
std::string PortChoiceText(int portNumber);

}  // namespace vantrel
