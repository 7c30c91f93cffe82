#pragma once

// Taking logging up again after a restart, as the run state file says the last run
// left it.

#include <string>

#include "acquisition/RunStateFile.h"
#include "engine/AcquisitionState.h"
#include "logging/LogFileSink.h"

namespace vantrel::acquisition {

// Logging goes on into the same file with the same options and channel marks: no
// header is written into a file that holds anything, serial numbers go on from the
// file's last record (or from the state's serial_before while it holds none), and
// the first record comes at the next tick. The line that says so.
std::string ResumeLogging(AcquisitionState& state, const RunState& last, LogFileSink& sink);

}  // namespace vantrel::acquisition
