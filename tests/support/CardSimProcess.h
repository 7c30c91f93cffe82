#pragma once

// vantrel-cardsim run as a child process for tests over real pseudo-terminals,
// with the Qt event loop pumped while waiting for it.

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <string>

namespace vantrel::testing {

// Runs the event loop until done() holds or timeoutMs passes; true if it held.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 10000);
// Runs the event loop for about the given time.
void PumpFor(int milliseconds);

// A text file whole, empty if it cannot be read; its CR LF lines, without the
// empty piece after the last line end.
QString FileText(const QString& path);
QStringList CrlfLines(const QString& path);

class CardSimProcess {
  public:
    CardSimProcess();
    ~CardSimProcess();
    CardSimProcess(const CardSimProcess&) = delete;
    CardSimProcess& operator=(const CardSimProcess&) = delete;

    // Starts the simulator as COM<port> in a fresh folder and waits until the link
    // exists.
    bool start(int port, const QStringList& extraArguments);
    // Sends a signal (SIGUSR1 hang-up, SIGUSR2 come back, SIGTERM end).
    void signal(int number);
    // Waits for a further output line starting with prefix.
    bool waitForLine(const QString& prefix, int timeoutMs = 10000);
    // Ends it with SIGTERM; the exit code, or -1 if it did not end cleanly.
    int stop();

    // The commands heard since it made its link for the link-th time (all of them
    // for 0), each with the milliseconds it came at in front when asked for.
    QStringList commands(int link = 0, bool withTimes = false) const;

    std::string dir() const { return folder_.path().toStdString(); }
    const QStringList& lines() const { return lines_; }

  private:
    QTemporaryDir folder_;
    QProcess process_;
    QStringList lines_;
    int seen_ = 0;
};

}  // namespace vantrel::testing
