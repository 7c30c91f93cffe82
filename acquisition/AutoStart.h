#pragma once

// Starts a run that no one sits in front of: the task once the cards have
// answered, then, when asked, logging with the stored save options, as OK in the
// save options window would, or logging resumed where the last run left it.

#include <functional>
#include <optional>
#include <string>

#include "acquisition/Run.h"
#include "platform/Timer.h"

namespace vantrel::acquisition {

class AutoStart {
  public:
    // How long a card that answered waits for the other open port's card before
    // the task starts without it.
    static constexpr int kWaitForOtherCardMs = 5000;
    static constexpr int kPollMs = 250;

    // Tells what happened, one line a time.
    using Say = std::function<void(const std::string& line)>;

    // poll: a timer for this object alone. log: start logging once the task runs.
    AutoStart(AcquisitionState& state, Run& run, platform::Timer& poll, bool log, Say say);
    ~AutoStart();
    AutoStart(const AutoStart&) = delete;
    AutoStart& operator=(const AutoStart&) = delete;

    // Once the task runs, logging resumes as the last run left it (see
    // Run::runToResume) instead of starting afresh.
    void resume(const RunState& last);
    void begin();

  private:
    void onPoll();
    bool cardsReady();
    void startLogging();

    AcquisitionState& state_;
    Run& run_;
    platform::Timer& poll_;
    bool log_;
    std::optional<RunState> resume_;
    Say say_;
    int waitedMs_ = 0;
    bool taskStarted_ = false;
};

}  // namespace vantrel::acquisition
