#include "acquisition/Run.h"

#include <string>

#include "acquisition/ResumeLogging.h"
#include "alarms/CardLinkFault.h"
#include "engine/CardView.h"
#include "engine/Conversion.h"
#include "link/Commands.h"
#include "logging/LogRecord.h"
#include "settings/AppPaths.h"
#include "settings/SettingsFiles.h"

namespace vantrel::acquisition {

namespace {
constexpr int kLogTickMs = 1000;
// Far more than any state file the program writes.
constexpr std::size_t kRunStateMaxBytes = 64 * 1024;
}  // namespace

RunTimers MakeRunTimers(const platform::TimerFactory& make) {
    RunTimers timers;
    timers.pause = make("tmrDelay");
    timers.logTick = make("tmrSave");
    for (std::size_t card = 0; card < 2; ++card) {
        const std::string index = std::to_string(card);
        timers.reopen[card] = make("tmrReopen_" + index);
        timers.watch[card] = make("tmrWatch_" + index);
    }
    return timers;
}

Run::Run(AcquisitionState& state, RunParts parts, RunTimers timers)
    : state_(state),
      parts_(parts),
      timers_(std::move(timers)),
      sequencer_(state_, *timers_.pause,
                 [this](int card, std::string_view text) { send(card, text); }),
      logger_(state_, parts_.clock, parts_.dialogs, parts_.logSink) {
    platform::SerialPort* ports[] = {&parts_.cm, &parts_.cm2};
    for (int card = 0; card < 2; ++card) {
        links_[card] = std::make_unique<link::CardLink>(
            state_, card, *ports[card],
            link::CardLink::Timers{*timers_.reopen[card], *timers_.watch[card]}, sequencer_,
            parts_.clock);
        links_[card]->setConversionFailureHandler(
            [this](const ConversionFailure& failure) { return showConversionFailure(failure); });
        links_[card]->setFrameFinisher(
            [this](ConvertedFrame& frame) { engineering_.finish(frame, state_); });
        links_[card]->addFrameListener([this](const link::FrameEvent& event) {
            watchChannelsInUse();
            if (const auto* frame = std::get_if<ConvertedFrame>(&event)) {
                history::AddCardFrame(history_, *frame);
                logger_.TakeFrame(*frame);
                events_.onFrame(*frame);
            } else {
                events_.onFrame(std::get<DigitalFrame>(event));
            }
        });
        links_[card]->setLinkChangedHandler([this] { watchLinks(); });
    }
    sequencer_.setTaskChangedHandler([this](bool running) { taskChanged(running); });
    events_.setOutputHandler([this](const alarms::OutputAction& action) { switchOutput(action); });
    events_.addListener([this](const alarms::RunEvent& event) { logEvent(event); });
    logger_.setFileStartHandler([this](const LogFilePlace& next) {
        newLogFile(next);
        if (canKeepRunState()) {
            writeRunState(CurrentRunState(state_, next));
        }
    });
    timers_.logTick->setHandler([this] {
        // Logging started or stopped since the last tick is told before the
        // tick's record, which may begin a file.
        watchLogging();
        watchChannelsInUse();
        logger_.Tick();
        // After the tick's record, which may have begun a split file.
        if (logging_) {
            logFileSeen_ = state_.LogFileInUse;
        }
        keepRunState();
    });
}

Run::~Run() {
    timers_.logTick->stop();
    timers_.logTick->setHandler(nullptr);
}

std::optional<platform::Message> Run::begin() {
    // Before the first tick can journal records of its own.
    std::optional<platform::Message> recovered = logger_.RecoverJournal();
    timers_.logTick->start(kLogTickMs, false);
    return recovered;
}

void Run::openPorts() {
    for (auto& link : links_) {
        link->OpenCardPort();
    }
}

void Run::applyPorts() {
    platform::SerialPort* ports[] = {&parts_.cm, &parts_.cm2};
    for (int card = 0; card < 2; ++card) {
        if (ports[card]->portNumber() != CardOf(std::as_const(state_), card).ComPort) {
            links_[card]->Reconnect();
        }
    }
}

void Run::setLoggingPreferences(const LoggingPreferences& preferences) {
    logger_.setPreferences(preferences);
    SetRecordLayout(state_, preferences);
}

std::optional<RunState> Run::runToResume() {
    if (!logger_.preferences().resume || state_.AppDir.empty()) {
        return std::nullopt;
    }
    const std::string path = AppFilePath(state_, kRunStateFile);
    if (!parts_.logSink.exists(path)) {
        return std::nullopt;
    }
    const std::optional<std::string> text = parts_.logSink.readTail(path, kRunStateMaxBytes);
    const RunStateReading reading = text ? ParseRunState(*text) : RunStateReading{{}, "unreadable"};
    if (!reading.run) {
        parts_.dialogs.showMessageNonBlocking(
            {path + " cannot be read (" + reading.problem + "); logging is not resumed.", "Vantrel",
             platform::MessageIcon::Warning},
            {});
        return std::nullopt;
    }
    if (!reading.run->logging || !reading.run->taskRunning) {
        return std::nullopt;
    }
    resumePending_ = true;
    return reading.run;
}

std::optional<std::string> Run::resumeLogging(const RunState& last) {
    if (state_.Saving || ended_) {
        return std::nullopt;
    }
    std::string said = ResumeLogging(state_, last, parts_.logSink);
    logger_.Resume({last.fileInUse, last.fileDay, last.serialBefore});
    watchLogging(alarms::EventKind::LoggingResumed);
    return said;
}

bool Run::canKeepRunState() {
    if (state_.AppDir.empty() || ended_) {
        return false;
    }
    if (resumePending_) {
        if (!state_.Saving) {
            return false;
        }
        resumePending_ = false;
    }
    return true;
}

void Run::keepRunState() {
    if (!canKeepRunState()) {
        return;
    }
    const RunState now = CurrentRunState(state_, logger_.FileInUse());
    // A run that never logs has nothing to tell the next start.
    if (keptRunState_.empty() && !now.logging &&
        !parts_.logSink.exists(AppFilePath(state_, kRunStateFile))) {
        keptRunState_ = RunStateText(now);
        return;
    }
    writeRunState(now);
}

void Run::writeRunState(const RunState& run) {
    std::string text = RunStateText(run);
    if (text == keptRunState_) {
        return;
    }
    // A failure is tried again at the next tick.
    if (!parts_.logSink.replaceAtomically(AppFilePath(state_, kRunStateFile), text)) {
        keptRunState_ = std::move(text);
    }
}

bool Run::startTask() {
    return !ended_ && sequencer_.Start();
}

void Run::stopTask() {
    if (!ended_) {
        sequencer_.Stop();
    }
}

void Run::send(int card, std::string_view text) {
    link(card).SendCommand(text);
}

void Run::addFrameListener(const link::CardLink::FrameListener& listener) {
    for (auto& link : links_) {
        link->addFrameListener(listener);
    }
}

void Run::addEndStep(std::function<void()> step) {
    endSteps_.push_back(std::move(step));
}

void Run::setTaskChangedHandler(link::TaskSequencer::TaskChanged handler) {
    taskChanged_ = std::move(handler);
}

void Run::taskChanged(bool running) {
    // The kind says it all.
    addEvent(running ? alarms::EventKind::TaskStarted : alarms::EventKind::TaskStopped, {});
    if (taskChanged_) {
        taskChanged_(running);
    }
}

void Run::setAlarmSettings(const alarms::AlarmSettings& settings) {
    events_.setSettings(settings, parts_.clock.now());
}

void Run::setChannelScales(const ChannelScales& scales) {
    engineering_.setScales(scales);
    SetLogScaleUnits(state_, scales);
}

std::vector<std::string> Run::setDerivedSettings(const derived::DerivedSettings& settings) {
    std::vector<std::string> names;
    for (const derived::DerivedChannel& channel : settings.channels) {
        names.push_back(channel.name);
    }
    events_.setDerivedNames(std::move(names), parts_.clock.now());
    SetLoggedDerived(state_, settings);
    history::SetDerivedChannels(history_, settings);
    return engineering_.setDerived(settings, state_);
}

void Run::acknowledge(const alarms::AlarmId& id) {
    events_.acknowledge(id, parts_.clock.now());
}

void Run::acknowledgeAll() {
    events_.acknowledgeAll(parts_.clock.now());
}

void Run::addMarker(std::string text) {
    addEvent(alarms::EventKind::Marker, std::move(text));
}

void Run::addEvent(alarms::EventKind kind, std::string text) {
    alarms::RunEvent event;
    event.kind = kind;
    event.at = parts_.clock.now();
    event.text = std::move(text);
    events_.add(std::move(event));
}

void Run::watchLinks() {
    const platform::DateTime now = parts_.clock.now();
    for (int card = 0; card < 2; ++card) {
        events_.onLink(card, alarms::LinkFaultOf(state_, card), now);
    }
}

void Run::watchChannelsInUse() {
    const std::uint16_t marked = alarms::ChannelsMarked(state_);
    if (marked != events_.channelsMarked()) {
        events_.setChannelsMarked(marked, parts_.clock.now());
    }
}

void Run::watchLogging(alarms::EventKind started) {
    if (state_.Saving == logging_) {
        return;
    }
    logging_ = state_.Saving;
    if (logging_) {
        loggingTo_ = logFileSeen_ = state_.LogFileInUse;
        addEvent(started, (started == alarms::EventKind::LoggingResumed ? "Logging resumed in "
                                                                        : "Logging started in ") +
                              loggingTo_);
    } else {
        addEvent(alarms::EventKind::LoggingStopped, {});
        loggingTo_.clear();
    }
}

void Run::newLogFile(const LogFilePlace& next) {
    watchLogging();
    if (next.path == loggingTo_) {
        return;
    }
    const bool split = logging_ && !loggingTo_.empty() && next.serialBefore != 0;
    loggingTo_ = next.path;
    if (split) {
        addEvent(alarms::EventKind::LogSplit, "Logging goes on in " + next.path);
    }
}

void Run::logEvent(const alarms::RunEvent& event) {
    using enum alarms::EventKind;
    // Told once logging is off, "logging stopped" still belongs to the file that
    // was in use.
    if (!logging_ && event.kind != LoggingStopped) {
        return;
    }
    // A new split file is told before it becomes the file in use, and starts its
    // own events file.
    const std::string logFile = event.kind == LoggingStopped ? logFileSeen_
                                : event.kind == LogSplit     ? loggingTo_
                                                             : logger_.FileInUse().path;
    if (!logFile.empty()) {
        logger_.TakeEvent(logFile, event);
    }
}

void Run::switchOutput(const alarms::OutputAction& action) {
    if (action.line < 0 || action.line >= kLineArraySize) {
        return;
    }
    const int card = action.line / kLinesPerCard;
    state_.DigitalOutCmd[static_cast<std::size_t>(action.line)] = action.on;
    if (!ended_ && CardOf(std::as_const(state_), card).CardConnected) {
        send(card, link::SetOutputsCommand(state_, card));
    }
}

void Run::end() {
    if (ended_) {
        return;
    }
    // The run state file keeps what ran until now, so a run ended by a shutdown of
    // the computer resumes at the next start; the "@F" below is not recorded.
    keepRunState();
    ended_ = true;
    timers_.logTick->stop();
    // A start under way sends no "@N" after the "@F" below.
    sequencer_.Cancel();
    platform::SerialPort* ports[] = {&parts_.cm, &parts_.cm2};
    for (int card = 0; card < 2; ++card) {
        if (ports[card]->isOpen()) {
            send(card, link::kCommandStop);
        }
    }
    // Records still waiting for a failing file are saved elsewhere, not dropped.
    logger_.Close();
    // Each file is written whole or not at all. A failure is told; the other file
    // is still written, so one bad file does not lose the other's settings.
    for (auto save : {SaveChannelSettings, SaveLogSettings}) {
        if (const std::optional<std::string> failure = save(state_)) {
            parts_.dialogs.showMessage({*failure, "Vantrel", platform::MessageIcon::Critical});
        }
    }
    for (const auto& step : endSteps_) {
        step();
    }
}

bool Run::showConversionFailure(const ConversionFailure& failure) {
    if (*conversionBoxOpen_) {
        return false;
    }
    *conversionBoxOpen_ = true;
    parts_.dialogs.showMessageNonBlocking(
        {failure.message(), "Vantrel", platform::MessageIcon::Critical},
        [open = conversionBoxOpen_] { *open = false; });
    return true;
}

}  // namespace vantrel::acquisition
