#pragma once

// Start-up before any window: defaults, the thermocouple tables, the three
// settings files and the recovery of a missing or damaged one.

#include <string>

#include "engine/AcquisitionState.h"

namespace vantrel {

struct StartUpResult {
    bool ok = true;
    // Why the program cannot start (a missing or bad table file), naming the file.
    std::string error;
    // For the user once the program runs: each damaged settings file with the field
    // where reading stopped and where its bytes were kept, and each settings file
    // that could not be rewritten. Empty when there is nothing to say.
    std::string warning;
};

// Defaults, then j.tc and k.tc, then vtrl.con, vtrlo.con and vtrls.con from appDir.
// A table missing from appDir is read from installedTablesDir (empty: nowhere else).
// Each settings file is read on its own: one that is missing or damaged leaves only
// its own fields, from the first bad one on, at their defaults. A damaged file is
// first copied to "<name>.bad" (or "<name>.1.bad", ... when that is taken);
// vtrl.con and vtrlo.con are then rewritten at once, vtrls.con when the user stores
// log settings or at exit. A damaged file that cannot be copied is held: listed in
// HeldSettingsFiles and never overwritten.
StartUpResult RunStartUp(AcquisitionState& state, const std::string& appDir,
                         const std::string& installedTablesDir = {});

}  // namespace vantrel
