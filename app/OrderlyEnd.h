#pragma once

// Ends the run as File > Exit does when no person can answer: on SIGTERM, SIGINT or
// SIGHUP, and when the display goes away (the window system's library then ends
// the process from inside the event loop). Message boxes of the end go to standard
// error and to a note (the status window, while it shows); stop commands, waiting
// records and settings files are the run's own end.

#include <memory>
#include <optional>

#include "acquisition/Run.h"
#include "platform/UnattendedDialogs.h"
#include "platform/qt/TerminationSignals.h"

namespace vantrel {

class OrderlyEnd {
  public:
    // The run must use dialogs for every message; both must outlive this. One
    // instance at a time.
    OrderlyEnd(acquisition::Run& run, platform::UnattendedDialogs& dialogs,
               platform::UnattendedDialogs::Note note = {});
    ~OrderlyEnd();
    OrderlyEnd(const OrderlyEnd&) = delete;
    OrderlyEnd& operator=(const OrderlyEnd&) = delete;

    // The event loop returns 128 + the signal's number after the end.
    void EndOnSignal(int signalNumber);
    // That number once a signal ended the run, for a program that ended before it
    // entered its event loop (the loop asked to leave was the splash's).
    std::optional<int> exitCode() const { return exitCode_; }
    // The process is ending without returning from the event loop.
    void EndAtExit();

  private:
    acquisition::Run& run_;
    platform::UnattendedDialogs& dialogs_;
    platform::UnattendedDialogs::Note note_;
    std::unique_ptr<platform::TerminationSignals> signals_;
    std::optional<int> exitCode_;
};

}  // namespace vantrel
