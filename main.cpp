// Entry point: start-up in the start folder, then either the main window drives the
// run through its events, or (--headless) the run goes on by itself with no window.
// Everything the run is built from is made here and handed in.
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

#include "acquisition/AutoStart.h"
#include "acquisition/Run.h"
#include "acquisition/StatusText.h"
#include "app/AppIdentity.h"
#include "app/CommandLine.h"
#include "app/QtRunTimers.h"
#include "app/mdiDaq.h"
#include "engine/AcquisitionState.h"
#include "engine/StartUp.h"
#include "logging/LogFileSink.h"
#include "platform/ConsoleDialogs.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTimer.h"

namespace {

using namespace vantrel;

// Defaults, tables and settings files from the start folder. False when the
// program cannot start; what went wrong has been told through dialogs.
bool StartUp(AcquisitionState& state, platform::Dialogs& dialogs, std::string& warning) {
    const std::string appDir = QDir::toNativeSeparators(QDir::currentPath()).toStdString();
    // Installed, the tables lie in share/vantrel beside the bin folder; found from the
    // program's own folder, a moved install still finds them.
    const std::string installedTables =
        QDir::toNativeSeparators(
            QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/vantrel"))
            .toStdString();
    const StartUpResult started = RunStartUp(state, appDir, installedTables);
    if (!started.ok) {
        std::fprintf(stderr, "Vantrel: %s\n", started.error.c_str());
        dialogs.showMessage({started.error, "Vantrel", platform::MessageIcon::Critical});
        return false;
    }
    warning = started.warning;
    return true;
}

int RunWithWindows(const LaunchOptions&) {
    AcquisitionState state;
    platform::QtDialogs dialogs;
    std::string warning;
    if (!StartUp(state, dialogs, warning)) {
        return 1;
    }
    platform::QtSerialPort cm(state.AppDir);
    platform::QtSerialPort cm2(state.AppDir);
    platform::QtClock clock;
    DiskLogFileSink logFiles;
    acquisition::Run run(state, {cm, cm2, clock, dialogs, logFiles}, QtRunTimers());
    mdiDaq window(state, run, dialogs, clock, [](QDialog& dialog) { dialog.exec(); });
    dialogs.setOwner(&window);
    window.Form_Load();
    if (!warning.empty()) {
        // Damaged or unwritable settings files: said once, over the main window,
        // while the program runs on.
        std::fprintf(stderr, "Vantrel: %s\n", warning.c_str());
        dialogs.showMessageNonBlocking({warning, "Vantrel", platform::MessageIcon::Warning}, {});
    }
    return QApplication::exec();
}

int RunWithoutWindows(const LaunchOptions& launch) {
    AcquisitionState state;
    platform::ConsoleDialogs dialogs;
    std::string warning;
    if (!StartUp(state, dialogs, warning)) {
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
    platform::QtTimer startPoll;
    acquisition::AutoStart autoStart(
        state, run, startPoll, launch.log, [&](const std::string& line) {
            dialogs.showMessage({line, "Vantrel", platform::MessageIcon::Warning});
        });

    // One line on standard error for each change of what the status window would show.
    acquisition::StatusChanges changes;
    QTimer statusPoll;
    QObject::connect(&statusPoll, &QTimer::timeout, [&] {
        for (const std::string& line : changes.next(state)) {
            std::fprintf(stderr, "vantrel: %s\n", line.c_str());
        }
        std::fflush(stderr);
    });

    run.begin();
    run.openPorts();
    autoStart.begin();
    statusPoll.start(acquisition::AutoStart::kPollMs);
    return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> exitCode = AnswerInformationOptions(argc, argv)) {
        return *exitCode;
    }
    // A run without windows needs no display, so it makes no GUI application.
    std::unique_ptr<QCoreApplication> app;
    if (WantsHeadless(argc, argv)) {
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
