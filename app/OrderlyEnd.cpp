#include "app/OrderlyEnd.h"

#include <QCoreApplication>
#include <QPointer>
#include <cstdlib>

#include "app/mdiDaq.h"

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

OrderlyEnd::OrderlyEnd(mdiDaq& window, platform::UnattendedDialogs& dialogs)
    : window_(window), dialogs_(dialogs) {
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
    QPointer<mdiDaq> window(&window_);
    dialogs_.goUnattended([window](const platform::Message& message) {
        if (window) {
            window->ShowClosingNote(message.text);
        }
    });
    window_.Form_Unload();
    QCoreApplication::exit(128 + signalNumber);
}

void OrderlyEnd::EndAtExit() {
    gCurrent = nullptr;
    // The display may be gone: no window is touched, standard error only.
    dialogs_.goUnattended({});
    window_.Form_Unload();
}

}  // namespace vantrel
