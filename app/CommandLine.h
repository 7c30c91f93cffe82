#pragma once

// The program's command line: --help and --version, and the options Qt itself
// takes (-platform, -style, ...). Started without arguments the program runs as
// always.

#include <QStringList>
#include <optional>

namespace vantrel {

// Answers --help and --version before any window exists, so both work without a
// display. Returns the exit code when the program should end here.
std::optional<int> AnswerInformationOptions(int argc, char** argv);

// Reports arguments left after the application has taken Qt's own options, with a
// pointer to --help, and answers --help-all, which lists Qt's options as well.
// Returns the exit code when the program should end here.
std::optional<int> AnswerRemainingArguments(const QStringList& arguments);

}  // namespace vantrel
