#pragma once

// When the logger writes records, in one place for the logger and the status line
// that reports it.

#include "engine/AcquisitionState.h"

namespace vantrel {

// Logging is on and card 1 delivers live values: it has answered, its port is not
// lost, it has answered again since its port came back, and while its task runs
// its frames keep coming. Otherwise records pause, and the ticks do not count.
bool RecordsAreBeingWritten(const AcquisitionState& state);

}  // namespace vantrel
