#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "app/AppIdentity.h"

namespace vantrel {

namespace {

constexpr int kUsageError = 2;

struct Parser {
    Parser() : help(parser.addHelpOption()), version(parser.addVersionOption()) {
        parser.setApplicationDescription(QStringLiteral(
            "Vantrel - 16 Channel ~ Data Acquisition Solution.\n"
            "\n"
            "Reads its settings (vtrl.con, vtrlo.con, vtrls.con) from the folder it is\n"
            "started in, writes them back there on exit, and opens serial port n as the\n"
            "link COMn in that folder when there is one, otherwise as /dev/ttyUSB{n-1}."));
    }
    QCommandLineParser parser;
    QCommandLineOption help;
    QCommandLineOption version;
};

}  // namespace

std::optional<int> AnswerInformationOptions(int argc, char** argv) {
    // A core application is all the parser needs; a window system is not touched.
    QCoreApplication core(argc, argv);
    SetApplicationIdentity();
    Parser cli;
    // Qt's own options are not known here and make the parse fail; they are judged
    // once the application has taken them.
    cli.parser.parse(QCoreApplication::arguments());
    if (cli.parser.isSet(cli.version)) {
        std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                    qPrintable(QCoreApplication::applicationVersion()));
        return 0;
    }
    if (cli.parser.isSet(cli.help)) {
        std::fputs(qPrintable(cli.parser.helpText()), stdout);
        return 0;
    }
    return std::nullopt;
}

std::optional<int> AnswerRemainingArguments(const QStringList& arguments) {
    Parser cli;
    const bool parsed = cli.parser.parse(arguments);
    if (cli.parser.isSet(QStringLiteral("help-all"))) {
        // Qt lists its own options only once the application exists; prints and exits.
        cli.parser.process(arguments);
    }
    if (!parsed) {
        std::fprintf(stderr, "vantrel: %s\nTry 'vantrel --help' for more information.\n",
                     qPrintable(cli.parser.errorText()));
        return kUsageError;
    }
    if (!cli.parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr,
                     "vantrel: unexpected argument '%s'\n"
                     "Try 'vantrel --help' for more information.\n",
                     qPrintable(cli.parser.positionalArguments().constFirst()));
        return kUsageError;
    }
    return std::nullopt;
}

}  // namespace vantrel
