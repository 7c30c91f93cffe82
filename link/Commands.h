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
// Pause the card needs between "@TA00" and "@N".
inline constexpr int kStartDelayMs = 100;
// A card hears a command when its CR has arrived, but the pause is timed from the
// write: at 9600 baud (ten bits a character) "@TA00" and its CR take 6.25 ms on
// the line, so the timer runs that much longer and the card gets its full 100 ms.
inline constexpr int kStartArmLineMs = static_cast<int>(
    ((std::char_traits<char>::length(kCommandStartArm) + 1) * 10 * 1000 + 9599) / 9600);
inline constexpr int kStartPauseMs = kStartDelayMs + kStartArmLineMs;

// "#D" and the card's commanded output lines as four upper-case hex digits, bit k
// = line k. card: 0 is card 1 (line slots 0..15), any other value card 2 (16..31).
std::string SetOutputsCommand(const AcquisitionState& state, int card);

}  // namespace vantrel::link
