#pragma once

// Ends the program as File > Exit does when no person can answer: on SIGTERM,
// SIGINT or SIGHUP, and when the display goes away (the window system's library
// then ends the process from inside the event loop). Message boxes of the end go
// to standard error and to the status window; stop commands, waiting records and
// settings files are handled by the main window's shut-down.

#include <memory>

#include "platform/UnattendedDialogs.h"
#include "platform/qt/TerminationSignals.h"

namespace vantrel {

class mdiDaq;

class OrderlyEnd {
  public:
    // window must use dialogs for every message; both must outlive this. One
    // instance at a time.
    OrderlyEnd(mdiDaq& window, platform::UnattendedDialogs& dialogs);
    ~OrderlyEnd();
    OrderlyEnd(const OrderlyEnd&) = delete;
    OrderlyEnd& operator=(const OrderlyEnd&) = delete;

    // The exit code the event loop returns with after a signal: 128 + its number.
    void EndOnSignal(int signalNumber);
    // The process is ending without returning from the event loop.
    void EndAtExit();

  private:
    mdiDaq& window_;
    platform::UnattendedDialogs& dialogs_;
    std::unique_ptr<platform::TerminationSignals> signals_;
};

}  // namespace vantrel
