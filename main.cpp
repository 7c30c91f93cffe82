// Entry point: start-up in the folder the program was started from, then the main
// window drives everything through its events.
#include <QApplication>
#include <QDir>
#include <cstdio>

#include "app/AppIdentity.h"
#include "app/CommandLine.h"
#include "app/OrderlyEnd.h"
#include "app/mdiDaq.h"
#include "engine/AcquisitionState.h"
#include "engine/StartUp.h"
#include "platform/UnattendedDialogs.h"
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
    if (const std::optional<int> exitCode =
            vantrel::AnswerRemainingArguments(QApplication::arguments())) {
        return *exitCode;
    }

    vantrel::AcquisitionState state;
    vantrel::platform::QtDialogs windowDialogs;
    // Message boxes until the program must end with no one to close them.
    vantrel::platform::UnattendedDialogs dialogs(windowDialogs);
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
    vantrel::mdiDaq window(state, cm, cm2, dialogs, clock, vantrel::QtWindowTimers());
    windowDialogs.setOwner(&window);
    // From here a signal or a lost display ends the run as File > Exit does.
    vantrel::OrderlyEnd orderlyEnd(window, dialogs);
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
