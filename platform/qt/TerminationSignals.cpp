#include "platform/qt/TerminationSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>

namespace vantrel::platform {

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

// A signal handler may do next to nothing; it writes the signal's number into a
// pipe that the event loop watches.
int gPipe[2] = {-1, -1};
volatile sig_atomic_t gReceived = 0;

extern "C" void OnTerminationSignal(int number) {
    if (gReceived != 0) {
        // Asked twice: the default action ends the program as soon as this
        // handler returns.
        ::signal(number, SIG_DFL);
        ::raise(number);
        return;
    }
    gReceived = number;
    // An end that hangs is cut short by SIGALRM's default action.
    ::alarm(TerminationSignals::kEndLimitSeconds);
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal)
    : onSignal_(std::move(onSignal)) {
    if (::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    gReceived = 0;
    notifier_ = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::onReadable);
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals) {
        ::sigaction(number, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    for (const int number : kSignals) {
        ::signal(number, SIG_DFL);
    }
    // The end came in time.
    if (gReceived != 0) {
        ::alarm(0);
    }
    delete notifier_;
    for (int& fd : gPipe) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

void TerminationSignals::onReadable() {
    char byte = 0;
    if (::read(gPipe[0], &byte, 1) != 1) {
        return;
    }
    notifier_->setEnabled(false);
    if (onSignal_) {
        onSignal_(static_cast<unsigned char>(byte));
    }
}

}  // namespace vantrel::platform
