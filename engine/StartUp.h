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
};

StartUpResult RunStartUp(AcquisitionState& state, const std::string& appDir);

}  // namespace vantrel
