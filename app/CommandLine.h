#pragma once

// The program's command line: --help, --version, --folder, --headless, --log, and
// the options Qt itself takes (-platform, -style, ...). Started without arguments
// the program opens its window in the current folder.

#include <QString>
#include <QStringList>
#include <optional>

namespace vantrel {

// Answers --help and --version before any window exists, so both work without a
// display. Returns the exit code when the program should end here.
std::optional<int> AnswerInformationOptions(int argc, char** argv);

// What the command line chose for this run.
struct LaunchOptions {
    // --folder: the start folder, created when missing; empty for the current folder.
    QString folder;
    // --headless: the run without any window; --log: it logs from the start.
    bool headless = false;
    bool log = false;
};

// Whether the run is without windows, known before any application object exists
// (such a run must not need a display).
bool WantsHeadless(int argc, char** argv);

// Reports arguments left after the application has taken Qt's own options, with a
// pointer to --help, and answers --help-all, which lists Qt's options as well.
// Returns the exit code when the program should end here.
// Otherwise fills options and returns nothing.
std::optional<int> AnswerRemainingArguments(const QStringList& arguments, LaunchOptions& options);

// Makes the chosen start folder (created when missing) the current folder. False,
// with the reason on standard error, when it cannot be made or entered.
bool EnterStartFolder(const LaunchOptions& options);

}  // namespace vantrel
