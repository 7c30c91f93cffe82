#pragma once

// The Qt timers a run is built with in the program and in end-to-end tests.

#include "acquisition/Run.h"

namespace vantrel {

acquisition::RunTimers QtRunTimers();

}  // namespace vantrel
