#pragma once

// One acquisition run, with or without windows: the two card links, the task
// sequencer that starts and stops the cards, the data logger and its one-second
// tick, the history of every converted frame, the run state file that lets a later
// start resume logging, and the order in which all of it starts and ends.
// Everything runs on one
// thread; the parts it is built from (ports, timers, clock, message boxes, log
// files) are handed in, so a test builds a run from fakes.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/RunStateFile.h"
#include "alarms/RunEvents.h"
#include "derived/EngineeringValues.h"
#include "engine/AcquisitionState.h"
#include "history/HistoryDocument.h"
#include "link/CardLink.h"
#include "link/TaskSequencer.h"
#include "logging/DataLogger.h"
#include "logging/LogFileSink.h"
#include "logging/LoggingPreferences.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/SerialPort.h"
#include "platform/Timer.h"

namespace vantrel::acquisition {

struct RunTimers {
    // The pause between "@TA00" and "@N".
    std::unique_ptr<platform::Timer> pause;
    // Each card's retry of a port that is lost or did not open.
    std::array<std::unique_ptr<platform::Timer>, 2> reopen;
    // The logger's tick, once a second for the whole run.
    std::unique_ptr<platform::Timer> logTick;
    // Each card's watch for frames that stopped coming.
    std::array<std::unique_ptr<platform::Timer>, 2> watch;
};

// Each made by make under its name: "tmrDelay", "tmrSave", and per card (0 for
// card 1) "tmrReopen_0", "tmrWatch_0", ...
RunTimers MakeRunTimers(const platform::TimerFactory& make);

// What a run is built from; each part outlives the run.
struct RunParts {
    platform::SerialPort& cm;
    platform::SerialPort& cm2;
    const platform::Clock& clock;
    // Message boxes in the window; standard error without one.
    platform::Dialogs& dialogs;
    LogFileSink& logSink;
};

class Run {
  public:
    Run(AcquisitionState& state, RunParts parts, RunTimers timers);
    ~Run();
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // Turns records a killed run left in the log journal into a recovery file, then
    // starts the logger's tick. The message for the user about those records.
    std::optional<platform::Message> begin();
    // Opens both cards' ports and asks each for its version.
    void openPorts();
    // The port numbers in the state are used now: a card whose number changed has
    // its old port closed and the new one opened, and is asked for its version and
    // then resumed as after a replug.
    void applyPorts();
    // Task > Start and Stop; a run that has ended refuses both.
    bool startTask();
    void stopTask();
    // The shut-down order: nothing more is started, "@F" goes to every open port,
    // the waiting log records are written or saved, and vtrlo.con and vtrls.con are
    // written. Failures are told through the dialogs. Runs once.
    void end();
    bool ended() const { return ended_; }

    // Writes text + CR to card 0 (card 1) or 1 (card 2).
    void send(int card, std::string_view text);

    // Told after each frame either card's link accepts (see CardLink).
    void addFrameListener(const link::CardLink::FrameListener& listener);
    // Runs last in the end, after the settings files (an output's goodbye).
    void addEndStep(std::function<void()> step);
    // Effective at once.
    void setLoggingPreferences(const LoggingPreferences& preferences);
    // The last run as the run state file tells it, when the preferences ask to
    // resume and that run was logging with its task running. From then until
    // logging resumes or is started by hand, the file keeps saying so, so a run
    // that ends before its cards answer still resumes at the next start. A file
    // that cannot be read is told through the dialogs.
    std::optional<RunState> runToResume();
    // Logging taken up as the last run left it; the line that says so, or nothing
    // when logging was started by hand meanwhile.
    std::optional<std::string> resumeLogging(const RunState& last);

    // Told when a start or stop changed whether the task runs.
    void setTaskChangedHandler(link::TaskSequencer::TaskChanged handler);

    // The run's alarms and events: every frame and every change of a card's link
    // is judged, with or without a window and whether or not anything is logged.
    alarms::RunEvents& events() { return events_; }
    const alarms::RunEvents& events() const { return events_; }
    // Effective at once; a rule kept as it was keeps its alarm.
    void setAlarmSettings(const alarms::AlarmSettings& settings);
    // Effective from the next frame: what every output shows for a channel, and
    // the derived channels computed over them. The texts of the derived channels
    // that cannot be evaluated and stay empty.
    void setChannelScales(const ChannelScales& scales);
    std::vector<std::string> setDerivedSettings(const derived::DerivedSettings& settings);
    const derived::EngineeringValues& engineering() const { return engineering_; }
    void acknowledge(const alarms::AlarmId& id);
    void acknowledgeAll();
    // A marker the user adds, stamped now.
    void addMarker(std::string text);

    link::CardLink& link(int card) { return *links_[CardIndex(card)]; }
    const link::CardLink& link(int card) const { return *links_[CardIndex(card)]; }
    DataLogger& logger() { return logger_; }
    // Every converted analog frame of both cards since the run was built.
    const history::HistoryDocument& history() const { return history_; }
    // Where log lines go; the save options window writes the header through it.
    LogFileSink& logSink() { return parts_.logSink; }
    const platform::Clock& clock() const { return parts_.clock; }
    bool taskBusy() const { return sequencer_.busy(); }

  private:
    bool showConversionFailure(const ConversionFailure& failure);
    // Whether the run state file is the run's to write now: not while a resume
    // waits for the cards, so it keeps naming the run to resume.
    bool canKeepRunState();
    // Writes the run state file when what it says has changed.
    void keepRunState();
    void writeRunState(const RunState& run);
    // Events for what the shared state says changed: a card's link, the channels
    // in use, logging started or stopped.
    void watchLinks();
    void watchChannelsInUse();
    void watchLogging(alarms::EventKind started = alarms::EventKind::LoggingStarted);
    void newLogFile(const LogFilePlace& next);
    // An event while logging, to the events file of the log file it belongs to.
    void logEvent(const alarms::RunEvent& event);
    void taskChanged(bool running);
    // A raised rule's output line, set as its output button would.
    void switchOutput(const alarms::OutputAction& action);
    void addEvent(alarms::EventKind kind, std::string text);

    AcquisitionState& state_;
    RunParts parts_;
    // The timers outlive the sequencer, the links and the logger that drive them.
    RunTimers timers_;
    link::TaskSequencer sequencer_;
    link::TaskSequencer::TaskChanged taskChanged_;
    // Before the links, which tell them of their frames from the start.
    derived::EngineeringValues engineering_;
    alarms::RunEvents events_;
    // Logging as last seen, and the log file its events belong to.
    bool logging_ = false;
    std::string loggingTo_;
    // The file in use after the last tick with logging on: the one "logging
    // stopped" belongs to, as the stop empties the name.
    std::string logFileSeen_;
    std::array<std::unique_ptr<link::CardLink>, 2> links_;
    DataLogger logger_;
    history::HistoryDocument history_ = history::RunHistory();
    std::vector<std::function<void()>> endSteps_;
    bool ended_ = false;
    // The run state file as last written.
    std::string keptRunState_;
    bool resumePending_ = false;
    // Shared with the open box's close callback, which may run after the run.
    std::shared_ptr<bool> conversionBoxOpen_ = std::make_shared<bool>(false);
};

}  // namespace vantrel::acquisition
