#include "app/OrderlyEnd.h"

#include <QCoreApplication>
#include <cstdlib>

namespace vantrel {

namespace {

// The one instance, for the exit hook, which can carry no state of its own.
OrderlyEnd* gCurrent = nullptr;

void EndAtExitHook() {
    if (gCurrent != nullptr) {
        gCurrent->EndAtExit();
    }
}

}  // namespace

OrderlyEnd::OrderlyEnd(acquisition::Run& run, platform::UnattendedDialogs& dialogs,
                       platform::UnattendedDialogs::Note note)
    : run_(run), dialogs_(dialogs), note_(std::move(note)) {
    static const bool hookRegistered = std::atexit(EndAtExitHook) == 0;
    (void)hookRegistered;
    gCurrent = this;
    signals_ = std::make_unique<platform::TerminationSignals>(
        [this](int signalNumber) { EndOnSignal(signalNumber); });
}

OrderlyEnd::~OrderlyEnd() {
    gCurrent = nullptr;
}

void OrderlyEnd::EndOnSignal(int signalNumber) {
    dialogs_.goUnattended(note_);
    run_.end();
    exitCode_ = 128 + signalNumber;
    QCoreApplication::exit(*exitCode_);
}

void OrderlyEnd::EndAtExit() {
    gCurrent = nullptr;
    // The display may be gone: no window is touched, standard error only.
    dialogs_.goUnattended({});
    run_.end();
}

}  // namespace vantrel
