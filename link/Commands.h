#pragma once

// The texts the program sends to a card; each goes out followed by one CR.

#include <string>

#include "engine/AcquisitionState.h"

namespace vantrel::link {

inline constexpr const char* kCommandVersion = "?";
inline constexpr const char* kCommandStartArm = "@TA00";
inline constexpr const char* kCommandStartRun = "@N";
inline constexpr const char* kCommandStop = "@F";
inline constexpr const char* kCommandSetOutputsPrefix = "#D";
inline constexpr char kFrameEnd = '\r';
// Pause between the two start commands.
inline constexpr int kStartDelayMs = 100;

// "#D" and the card's commanded output lines as four upper-case hex digits, bit k
// = line k. card: 0 is card 1 (line slots 0..15), any other value card 2 (16..31).
std::string SetOutputsCommand(const AcquisitionState& state, int card);

}  // namespace vantrel::link
