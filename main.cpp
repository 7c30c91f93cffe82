// Entry point: start-up in the folder the program was started from, then the main
// window drives everything through its events.
#include <QApplication>
#include <QDir>
#include <cstdio>

#include "acquisition/Run.h"
#include "app/AppIdentity.h"
#include "app/CommandLine.h"
#include "app/QtRunTimers.h"
#include "app/mdiDaq.h"
#include "engine/AcquisitionState.h"
#include "engine/StartUp.h"
#include "logging/LogFileSink.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSerialPort.h"

int main(int argc, char** argv) {
    if (const std::optional<int> exitCode = vantrel::AnswerInformationOptions(argc, argv)) {
        return *exitCode;
    }
    QApplication app(argc, argv);
    vantrel::SetApplicationIdentity();
    vantrel::SetApplicationIcon();
    vantrel::LaunchOptions launch;
    if (const std::optional<int> exitCode =
            vantrel::AnswerRemainingArguments(QApplication::arguments(), launch)) {
        return *exitCode;
    }
    if (!vantrel::EnterStartFolder(launch)) {
        return 1;
    }

    vantrel::AcquisitionState state;
    vantrel::platform::QtDialogs dialogs;
    const std::string appDir = QDir::toNativeSeparators(QDir::currentPath()).toStdString();
    // Installed, the tables lie in share/vantrel beside the bin folder; found from the
    // program's own folder, a moved install still finds them.
    const std::string installedTables =
        QDir::toNativeSeparators(
            QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/vantrel"))
            .toStdString();
    const vantrel::StartUpResult started = vantrel::RunStartUp(state, appDir, installedTables);
    if (!started.ok) {
        std::fprintf(stderr, "Vantrel: %s\n", started.error.c_str());
        dialogs.showMessage({started.error, "Vantrel", vantrel::platform::MessageIcon::Critical});
        return 1;
    }

    vantrel::platform::QtSerialPort cm(state.AppDir);
    vantrel::platform::QtSerialPort cm2(state.AppDir);
    vantrel::platform::QtClock clock;
    vantrel::DiskLogFileSink logFiles;
    vantrel::acquisition::Run run(state, {cm, cm2, clock, dialogs, logFiles},
                                  vantrel::QtRunTimers());
    vantrel::mdiDaq window(state, run, dialogs, clock, [](QDialog& dialog) { dialog.exec(); });
    dialogs.setOwner(&window);
    window.Form_Load();
    if (!started.warning.empty()) {
        // Damaged or unwritable settings files: said once, over the main window,
        // while the program runs on.
        std::fprintf(stderr, "Vantrel: %s\n", started.warning.c_str());
        dialogs.showMessageNonBlocking(
            {started.warning, "Vantrel", vantrel::platform::MessageIcon::Warning}, {});
    }
    return QApplication::exec();
}
