#pragma once

// The one place the program is built, with the main window or without one
// (--headless): the start folder claimed, start-up, vantrel.ini read once, the run,
// the publisher, the unattended start, the window or the status lines, the orderly
// end. What it runs on (ports, timers, clock, dialogs, log files, the MQTT client,
// the modal loop) is handed in: the Qt parts by main, fakes by the tests.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "acquisition/AutoStart.h"
#include "acquisition/Run.h"
#include "acquisition/StatusText.h"
#include "app/OrderlyEnd.h"
#include "app/PreferencesFile.h"
#include "app/QtPublisher.h"
#include "app/mdiDaq.h"
#include "engine/AcquisitionState.h"
#include "logging/LogFileSink.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/InstanceLock.h"
#include "platform/SerialPort.h"
#include "platform/Timer.h"
#include "platform/UnattendedDialogs.h"

namespace vantrel {

// What the command line chose.
struct ProgramOptions {
    std::string startFolder;
    // Where a table the start folder lacks is read from; empty: nowhere else.
    std::string installedTables{};
    bool headless = false;
    // With headless: logging from the start.
    bool log = false;
};

// Makes the serial port of card 0 (card 1) or 1 (card 2).
using SerialPortFactory = std::function<std::unique_ptr<platform::SerialPort>(int card)>;

// What the program is built from; the references outlive the program.
struct ProgramParts {
    SerialPortFactory makePort;
    platform::TimerFactory makeTimer;
    platform::Clock& clock;
    // Message boxes with the window, lines on standard error without.
    platform::Dialogs& dialogs;
    LogFileSink& logSink;
    MqttClientFactory makeMqttClient;
    // Runs the splash and the save options window to their end (the window only).
    mdiDaq::ModalRunner runModal;
};

class Program {
  public:
    // Claims the start folder, runs start-up and builds every part: 18 objects
    // with the window, 19 without (see the members).
    Program(const ProgramOptions& options, ProgramParts parts);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // False when the program must end at once: another program holds the start
    // folder, or a table cannot be read. What went wrong has been told, once.
    bool built() const { return orderlyEnd_ != nullptr; }
    // Sets the run going: recovered records, the ports, the unattended start and,
    // with the window, the splash first and the start-up's messages over the window.
    // The exit code when a signal already ended the program (during the splash);
    // otherwise nothing, and the event loop goes on with it.
    std::optional<int> start();

    AcquisitionState& state() { return state_; }
    acquisition::Run& run() { return *run_; }
    publish::Publisher& publisher() { return publisher_->get(); }
    // Nothing without windows.
    mdiDaq* window() { return window_.get(); }

  private:
    void build();
    void startWithWindow();
    void startWithoutWindow();
    // A start-up problem that lets the program run on: a box over the window and
    // a line on standard error, or only the line without the window.
    void warn(const std::string& text);
    void say(const std::string& line);

    const ProgramOptions options_;
    ProgramParts parts_;
    // Told at start, once the program runs.
    std::string warning_;
    PreferencesReading preferences_;
    bool resume_ = false;

    // The objects the program is made of, in the order they are built.
    AcquisitionState state_;                             // 1
    platform::UnattendedDialogs dialogs_;                // 2
    std::optional<platform::InstanceLock> lock_;         // 3
    std::unique_ptr<platform::SerialPort> cm_;           // 4
    std::unique_ptr<platform::SerialPort> cm2_;          // 5
    std::unique_ptr<acquisition::Run> run_;              // 6-11 its timers, 12 the run
    std::unique_ptr<platform::Timer> publishTick_;       // 13
    std::unique_ptr<QtPublisher> publisher_;             // 14
    std::unique_ptr<platform::Timer> startPoll_;         // 15
    std::unique_ptr<acquisition::AutoStart> autoStart_;  // 16
    // With the window:
    std::unique_ptr<mdiDaq> window_;  // 17
    // Without: a line for each change of what the status window would show.
    std::optional<acquisition::StatusChanges> statusChanges_;  // 17
    std::unique_ptr<platform::Timer> statusPoll_;              // 18
    std::unique_ptr<OrderlyEnd> orderlyEnd_;                   // 18 or 19
};

}  // namespace vantrel
