#include "acquisition/AutoStart.h"

#include "engine/CardView.h"
#include "logging/SaveOptions.h"

namespace vantrel::acquisition {

AutoStart::AutoStart(AcquisitionState& state, Run& run, platform::Timer& poll, bool log, Say say)
    : state_(state), run_(run), poll_(poll), log_(log), say_(std::move(say)) {
    poll_.setHandler([this] { onPoll(); });
}

AutoStart::~AutoStart() {
    poll_.stop();
    poll_.setHandler(nullptr);
}

void AutoStart::resume(const RunState& last) {
    resume_ = last;
    log_ = true;
}

void AutoStart::begin() {
    poll_.start(kPollMs, false);
}

bool AutoStart::cardsReady() {
    int answered = 0;
    int waiting = 0;
    for (int card = 0; card < 2; ++card) {
        const ConstCardView view = CardOf(std::as_const(state_), card);
        if (view.CardConnected) {
            ++answered;
        } else if (view.PortOpen) {
            ++waiting;
        }
    }
    if (answered == 0) {
        return false;
    }
    if (waiting == 0) {
        return true;
    }
    // A second card whose port is open but that does not answer must not hold up
    // the first one for ever.
    waitedMs_ += kPollMs;
    return waitedMs_ >= kWaitForOtherCardMs;
}

void AutoStart::onPoll() {
    if (run_.ended()) {
        poll_.stop();
        return;
    }
    if (!taskStarted_) {
        if (!cardsReady() || !run_.startTask()) {
            return;
        }
        taskStarted_ = true;
        if (!log_) {
            poll_.stop();
            return;
        }
    }
    // Logging starts once the start sequence is through, so the first record holds
    // values of the running task.
    if (run_.taskBusy()) {
        return;
    }
    poll_.stop();
    startLogging();
}

void AutoStart::startLogging() {
    if (resume_) {
        if (const std::optional<std::string> said = run_.resumeLogging(*resume_)) {
            say_(*said);
        }
        return;
    }
    if (const auto problem =
            ApplySaveOptions(state_, StoredChoices(state_), run_.logSink(), run_.clock().now())) {
        say_("logging not started: " + problem->text);
        return;
    }
    if (!state_.Saving) {
        say_("logging not started: no log file is named in vtrls.con");
    }
}

}  // namespace vantrel::acquisition
