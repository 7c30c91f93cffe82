// Entry point: start-up in the start folder, then either the main window drives the
// run through its events, or (--headless) the run goes on by itself with no window.
// Everything the run is built from is made here and handed in.
#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTimer>

#include "acquisition/AutoStart.h"
#include "acquisition/Run.h"
#include "acquisition/StatusText.h"
#include "app/AppIdentity.h"
#include "app/CommandLine.h"
#include "app/OrderlyEnd.h"
#include "app/PreferencesFile.h"
#include "app/QtPublisher.h"
#include "app/QtRunTimers.h"
#include "app/mdiDaq.h"
#include "engine/AcquisitionState.h"
#include "logging/LogFileSink.h"
#include "logging/LoggingPreferences.h"
#include "platform/ConsoleDialogs.h"
#include "platform/ConsoleWriter.h"
#include "platform/InstanceLock.h"
#include "platform/StandardStreams.h"
#include "platform/UnattendedDialogs.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTimer.h"
#include "settings/StartUp.h"

namespace {

using namespace vantrel;

std::string StartFolder() {
    return QDir::toNativeSeparators(QDir::currentPath()).toStdString();
}

// Qt's own warnings go the way of every other line, so they cannot block either.
void WriteQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    platform::WriteErrorLine(qFormatLogMessage(type, context, text).toStdString());
    if (type == QtFatalMsg) {
        platform::StandardError().drain(platform::ConsoleWriter::kExitWait);
    }
}

// Defaults, tables and settings files from the start folder. False when the
// program cannot start; what went wrong has been told through dialogs.
bool StartUp(AcquisitionState& state, platform::Dialogs& dialogs, std::string& warning) {
    const std::string appDir = StartFolder();
    // Installed, the tables lie in share/vantrel beside the bin folder; found from the
    // program's own folder, a moved install still finds them.
    const std::string installedTables =
        QDir::toNativeSeparators(
            QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/vantrel"))
            .toStdString();
    const StartUpResult started = RunStartUp(state, appDir, installedTables);
    if (!started.ok) {
        platform::WriteErrorLine("Vantrel: " + started.error);
        dialogs.showMessage({started.error, "Vantrel", platform::MessageIcon::Critical});
        return false;
    }
    warning = started.warning;
    return true;
}

int RunWithWindows(const LaunchOptions&) {
    AcquisitionState state;
    platform::QtDialogs windowDialogs;
    // Message boxes until the program must end with no one to close them.
    platform::UnattendedDialogs dialogs(windowDialogs);
    const std::optional<platform::InstanceLock> lock =
        platform::ClaimStartFolder(StartFolder(), dialogs);
    std::string warning;
    if (!lock || !StartUp(state, dialogs, warning)) {
        return 1;
    }
    platform::QtSerialPort cm(state.AppDir);
    platform::QtSerialPort cm2(state.AppDir);
    platform::QtClock clock;
    DiskLogFileSink logFiles;
    acquisition::Run run(state, {cm, cm2, clock, dialogs, logFiles}, QtRunTimers());
    platform::QtTimer publishTick(nullptr, QStringLiteral("tmrPublish"));
    QtPublisher publisher(state, clock, publishTick);
    publisher.feedFrom(run, dialogs);
    // The window reads vantrel.ini again when it loads and says what cannot be used;
    // the logging preferences are needed before that, to resume.
    run.setLoggingPreferences(LoadPreferences(state.AppDir).preferences.logging);
    // Asked before the window's first tick, which would otherwise record that
    // nothing runs yet.
    const std::optional<acquisition::RunState> resume = run.runToResume();
    platform::QtTimer startPoll;
    acquisition::AutoStart autoStart(state, run, startPoll, false, [&](const std::string& line) {
        dialogs.showMessageNonBlocking({line, "Vantrel", platform::MessageIcon::Information}, {});
    });
    mdiDaq window(state, run, publisher.get(), dialogs, clock,
                  [](QDialog& dialog) { dialog.exec(); });
    windowDialogs.setOwner(&window);
    // From here a signal or a lost display ends the run as File > Exit does, with
    // the last words in the status window while it shows.
    OrderlyEnd orderlyEnd(run, dialogs,
                          [window = QPointer<mdiDaq>(&window)](const platform::Message& message) {
                              if (window) {
                                  window->ShowClosingNote(message.text);
                              }
                          });
    window.Form_Load();
    if (resume) {
        autoStart.resume(*resume);
        autoStart.begin();
    }
    if (!warning.empty()) {
        // Damaged or unwritable settings files: said once, over the main window,
        // while the program runs on.
        platform::WriteErrorLine("Vantrel: " + warning);
        dialogs.showMessageNonBlocking({warning, "Vantrel", platform::MessageIcon::Warning}, {});
    }
    return QApplication::exec();
}

int RunWithoutWindows(const LaunchOptions& launch) {
    AcquisitionState state;
    // Every message is a line on standard error.
    platform::ConsoleDialogs console;
    platform::UnattendedDialogs dialogs(console);
    const std::optional<platform::InstanceLock> lock =
        platform::ClaimStartFolder(StartFolder(), dialogs);
    std::string warning;
    if (!lock || !StartUp(state, dialogs, warning)) {
        return 1;
    }
    if (!warning.empty()) {
        dialogs.showMessage({warning, "Vantrel", platform::MessageIcon::Warning});
    }
    platform::QtSerialPort cm(state.AppDir);
    platform::QtSerialPort cm2(state.AppDir);
    platform::QtClock clock;
    DiskLogFileSink logFiles;
    acquisition::Run run(state, {cm, cm2, clock, dialogs, logFiles}, QtRunTimers());
    platform::QtTimer publishTick;
    QtPublisher publisher(state, clock, publishTick);
    publisher.feedFrom(run, dialogs);
    const PreferencesReading preferences = LoadPreferences(state.AppDir);
    if (!preferences.message.empty()) {
        dialogs.showMessage({preferences.message, "Vantrel", platform::MessageIcon::Warning});
    }
    publisher.get().apply(preferences.preferences.mqtt);
    run.setLoggingPreferences(preferences.preferences.logging);
    platform::QtTimer startPoll;
    acquisition::AutoStart autoStart(
        state, run, startPoll, launch.log, [&](const std::string& line) {
            dialogs.showMessage({line, "Vantrel", platform::MessageIcon::Warning});
        });
    // The last run's logging, when it was on, goes before --log's fresh start.
    if (const std::optional<acquisition::RunState> resume = run.runToResume()) {
        autoStart.resume(*resume);
    }

    // One line on standard error for each change of what the status window would show.
    acquisition::StatusChanges changes;
    QTimer statusPoll;
    QObject::connect(&statusPoll, &QTimer::timeout, [&] {
        for (const std::string& line : changes.next(state)) {
            platform::WriteErrorLine("vantrel: " + line);
        }
    });

    OrderlyEnd orderlyEnd(run, dialogs);
    if (const std::optional<platform::Message> recovered = run.begin()) {
        dialogs.showMessage(*recovered);
    }
    run.openPorts();
    autoStart.begin();
    statusPoll.start(acquisition::AutoStart::kPollMs);
    return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    platform::GuardStandardStreams();
    // Made before anything can register an exit hook that writes, so the last lines
    // are waited for after those hooks ran.
    platform::StandardError();
    if (const std::optional<int> exitCode = AnswerInformationOptions(argc, argv)) {
        return *exitCode;
    }
    // A run without windows needs no display, so it makes no GUI application.
    std::unique_ptr<QCoreApplication> app;
    if (WantsHeadless(argc, argv)) {
        qInstallMessageHandler(WriteQtMessage);
        app = std::make_unique<QCoreApplication>(argc, argv);
    } else {
        app = std::make_unique<QApplication>(argc, argv);
        SetApplicationIcon();
    }
    SetApplicationIdentity();
    LaunchOptions launch;
    if (const std::optional<int> exitCode =
            AnswerRemainingArguments(QCoreApplication::arguments(), launch)) {
        return *exitCode;
    }
    if (!EnterStartFolder(launch)) {
        return 1;
    }
    return launch.headless ? RunWithoutWindows(launch) : RunWithWindows(launch);
}
