#pragma once

// The settings a demonstration run of the program starts with, written by the
// program's own settings writers: each channel's input type, range and name suit
// the signal that scripts/run gives the simulated cards (card 1: two voltages, a
// PT-100, a J thermocouple, a current loop and millivolts; card 2: a current, a
// voltage, a K thermocouple and a ramp), and the log goes to demo-log.csv in the
// run folder once a second.

#include <optional>
#include <string>

namespace cardsim {

// Writes vtrl.con, vtrlo.con and vtrls.con into dir, each only where it does not
// exist yet, so that what a user chose in an earlier run stays. Nothing on
// success, otherwise what failed.
std::optional<std::string> WriteDemoSettings(const std::string& dir);

}  // namespace cardsim
