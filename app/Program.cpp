#include "app/Program.h"

#include <QPointer>

#include "alarms/EventText.h"
#include "alarms/RuleFields.h"
#include "platform/ConsoleWriter.h"
#include "settings/StartUp.h"

namespace vantrel {

namespace {

platform::Message ProgramMessage(const std::string& text, platform::MessageIcon icon) {
    return {text, "Vantrel", icon};
}

}  // namespace

Program::Program(const ProgramOptions& options, ProgramParts parts)
    : options_(options), parts_(std::move(parts)), dialogs_(parts_.dialogs) {
    lock_ = platform::ClaimStartFolder(options_.startFolder, dialogs_);
    if (!lock_) {
        return;
    }
    const StartUpResult started =
        RunStartUp(state_, options_.startFolder, options_.installedTables);
    if (!started.ok) {
        // Without the window the message box itself is that line.
        if (!options_.headless) {
            platform::WriteErrorLine("Vantrel: " + started.error);
        }
        dialogs_.showMessage(ProgramMessage(started.error, platform::MessageIcon::Critical));
        return;
    }
    warning_ = started.warning;
    // With the window, said once it shows.
    if (options_.headless) {
        warn(warning_);
    }
    build();
}

Program::~Program() = default;

void Program::build() {
    cm_ = parts_.makePort(0);
    cm2_ = parts_.makePort(1);
    run_ = std::make_unique<acquisition::Run>(
        state_, acquisition::RunParts{*cm_, *cm2_, parts_.clock, dialogs_, parts_.logSink},
        acquisition::MakeRunTimers(parts_.makeTimer));
    publishTick_ = parts_.makeTimer("tmrPublish");
    publisher_ =
        std::make_unique<QtPublisher>(state_, parts_.clock, *publishTick_, parts_.makeMqttClient);
    publisher_->feedFrom(*run_, dialogs_);
    // The logging preferences are needed to resume, the alarms from the first frame
    // on; the window shows what cannot be used once it is there.
    preferences_ = LoadPreferences(state_.AppDir);
    run_->setLoggingPreferences(preferences_.preferences.logging);
    run_->setAlarmSettings(preferences_.preferences.alarms);
    run_->setChannelScales(preferences_.preferences.channels);
    for (const std::string& error : run_->setDerivedSettings(preferences_.preferences.derived)) {
        preferences_.message += (preferences_.message.empty() ? "" : "\n") +
                                ("Derived channel " + error + "; it stays empty.");
    }
    for (const std::string& rule : alarms::UnknownDerivedRules(preferences_.preferences.alarms,
                                                               preferences_.preferences.derived)) {
        preferences_.message +=
            (preferences_.message.empty() ? "" : "\n") + rule + "; the rule is not watched.";
    }
    if (options_.headless) {
        warn(preferences_.message);
        publisher_->get().apply(preferences_.preferences.mqtt);
    }
    startPoll_ = parts_.makeTimer("tmrStartPoll");
    autoStart_ = std::make_unique<acquisition::AutoStart>(
        state_, *run_, *startPoll_, options_.headless && options_.log,
        [this](const std::string& line) { say(line); });
    // Asked before the window's first tick, which would otherwise record that
    // nothing runs yet. The last run's logging, when it was on, goes before --log's
    // fresh start.
    if (const std::optional<acquisition::RunState> resume = run_->runToResume()) {
        autoStart_->resume(*resume);
        resume_ = true;
    }
    if (options_.headless) {
        statusChanges_.emplace();
        statusPoll_ = parts_.makeTimer("tmrStatusPoll");
        statusPoll_->setHandler([this] {
            for (const std::string& line : statusChanges_->next(state_)) {
                platform::WriteErrorLine("vantrel: " + line);
            }
        });
        // Events as they happen, beside the status lines.
        run_->events().addListener([](const alarms::RunEvent& event) {
            platform::WriteErrorLine("vantrel: " + alarms::EventLine(event));
        });
        orderlyEnd_ = std::make_unique<OrderlyEnd>(*run_, dialogs_);
        return;
    }
    window_ = std::make_unique<mdiDaq>(state_, *run_, publisher_->get(), dialogs_, parts_.clock,
                                       parts_.runModal, preferences_.preferences);
    // From here a signal or a lost display ends the run as File > Exit does, with
    // the last words in the status window while it shows.
    orderlyEnd_ = std::make_unique<OrderlyEnd>(
        *run_, dialogs_,
        [window = QPointer<mdiDaq>(window_.get())](const platform::Message& message) {
            if (window) {
                window->ShowClosingNote(message.text);
            }
        });
}

std::optional<int> Program::start() {
    if (window_) {
        startWithWindow();
    } else {
        startWithoutWindow();
    }
    return orderlyEnd_->exitCode();
}

void Program::startWithWindow() {
    // The logger ticks for the whole run, the splash included.
    const std::optional<platform::Message> recovered = run_->begin();
    window_->ShowSplash();
    // Ended during the splash: no port is opened after the end.
    if (!run_->ended()) {
        window_->Form_Load();
        run_->openPorts();
        window_->OpenStatusWindow();
        // Records a killed run left waiting, now in a recovery file.
        if (recovered) {
            dialogs_.showMessageNonBlocking(*recovered, {});
        }
        // Said once; vantrel.ini stays as it is until the user presses OK in Settings.
        warn(preferences_.message);
        publisher_->get().apply(preferences_.preferences.mqtt);
        if (resume_) {
            autoStart_->begin();
        }
    }
    // Damaged or unwritable settings files, said once while the program runs on.
    warn(warning_);
}

void Program::startWithoutWindow() {
    if (const std::optional<platform::Message> recovered = run_->begin()) {
        dialogs_.showMessage(*recovered);
    }
    run_->openPorts();
    autoStart_->begin();
    statusPoll_->start(acquisition::AutoStart::kPollMs, false);
}

void Program::warn(const std::string& text) {
    if (text.empty()) {
        return;
    }
    const platform::Message message = ProgramMessage(text, platform::MessageIcon::Warning);
    if (options_.headless) {
        dialogs_.showMessage(message);
        return;
    }
    platform::WriteErrorLine("Vantrel: " + text);
    dialogs_.showMessageNonBlocking(message, {});
}

void Program::say(const std::string& line) {
    if (options_.headless) {
        dialogs_.showMessage(ProgramMessage(line, platform::MessageIcon::Warning));
    } else {
        dialogs_.showMessageNonBlocking(ProgramMessage(line, platform::MessageIcon::Information),
                                        {});
    }
}

}  // namespace vantrel
