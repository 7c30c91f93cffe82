#pragma once

// Start-up before any window: defaults, the thermocouple tables, the three
// settings files and the recovery step.

#include <string>

#include "engine/AcquisitionState.h"

namespace vantrel {

struct StartUpResult {
    bool ok = true;
    // Why the program cannot start (a missing or short table file), naming the file.
    std::string error;
    // Settings files that could not be rewritten after a missing or damaged one;
    // the program still starts with the values in memory.
    std::string warning;
};

// Defaults, then j.tc and k.tc, then vtrl.con, vtrlo.con and vtrls.con from appDir.
// A settings file that is missing, short, damaged or too large is read as nothing
// at all; the port numbers then go back to 1 and 2 and vtrl.con and vtrlo.con are
// rewritten from the state.
StartUpResult RunStartUp(AcquisitionState& state, const std::string& appDir);

}  // namespace vantrel
