// Entry point: the command line read, the application object made, and the program
// built (app/Program.h) on Qt's parts, with the main window or (--headless)
// without one.
#include <QApplication>
#include <QDir>

#include "app/AppIdentity.h"
#include "app/CommandLine.h"
#include "app/Program.h"
#include "app/QtProgramParts.h"
#include "logging/LogFileSink.h"
#include "platform/ConsoleDialogs.h"
#include "platform/ConsoleWriter.h"
#include "platform/StandardStreams.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtDialogs.h"

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

// The program in the start folder, on Qt's parts, until its event loop ends.
int RunProgram(const LaunchOptions& launch) {
    ProgramOptions options;
    options.startFolder = StartFolder();
    // Installed, the tables lie in share/vantrel beside the bin folder; found from the
    // program's own folder, a moved install still finds them.
    options.installedTables =
        QDir::toNativeSeparators(
            QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/vantrel"))
            .toStdString();
    options.headless = launch.headless;
    options.log = launch.log;
    platform::QtDialogs windowDialogs;
    // Without the window every message is a line on standard error.
    platform::ConsoleDialogs console;
    platform::QtClock clock;
    DiskLogFileSink logFiles;
    Program program(options,
                    {QtSerialPorts(options.startFolder), QtTimers(), clock,
                     launch.headless ? static_cast<platform::Dialogs&>(console) : windowDialogs,
                     logFiles, MosquittoClients(), [](QDialog& dialog) { dialog.exec(); }});
    if (!program.built()) {
        return 1;
    }
    windowDialogs.setOwner(program.window());
    if (const std::optional<int> exitCode = program.start()) {
        return *exitCode;
    }
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
    return RunProgram(launch);
}
