#pragma once

// SIGTERM, SIGINT and SIGHUP (a kill, Ctrl+C, a closed terminal or session) handed to
// the event loop as one call, so the program can end in order instead of dying
// with records and settings in memory. A second signal ends the program at once,
// and so does the end taking longer than kEndLimitSeconds.

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace vantrel::platform {

class TerminationSignals : public QObject {
  public:
    static constexpr unsigned kEndLimitSeconds = 5;

    // onSignal runs on the event loop, once, with the signal's number. One instance
    // at a time.
    explicit TerminationSignals(std::function<void(int signalNumber)> onSignal);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

  private:
    void onReadable();

    std::function<void(int)> onSignal_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace vantrel::platform
