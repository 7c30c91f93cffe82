#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <string_view>

#include "app/AppIdentity.h"
#include "platform/ConsoleWriter.h"

namespace vantrel {

namespace {

constexpr int kUsageError = 2;

struct Parser {
    Parser() : help(parser.addHelpOption()), version(parser.addVersionOption()) {
        parser.addOption(folder);
        parser.addOption(headless);
        parser.addOption(log);
        parser.setApplicationDescription(QStringLiteral(
            "Vantrel - 16 Channel ~ Data Acquisition Solution.\n"
            "\n"
            "Reads its settings (vtrl.con, vtrlo.con, vtrls.con) from its start folder\n"
            "(the folder it is started in, or the one given with --folder), writes them\n"
            "back there on exit, and opens serial port n as the link COMn in that folder\n"
            "when there is one, otherwise as /dev/ttyUSB{n-1}.\n"
            "\n"
            "Its other choices (MQTT publishing, logging, alarms, derived channels,\n"
            "channel scales and more) are kept in vantrel.ini in the same start folder,\n"
            "read at start; Options > Settings edits them, and `man vantrel` lists every\n"
            "key with its default."));
    }
    QCommandLineParser parser;
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption folder{QStringLiteral("folder"),
                              QStringLiteral("Use <dir> as the start folder (created when "
                                             "missing) instead of the current folder."),
                              QStringLiteral("dir")};
    QCommandLineOption headless{
        QStringLiteral("headless"),
        QStringLiteral("Run without any window: start the task as soon as the cards answer, "
                       "print a line on standard error for each change of status, end in "
                       "order on SIGTERM, SIGINT or SIGHUP.")};
    QCommandLineOption log{QStringLiteral("log"),
                           QStringLiteral("With --headless: log from the start with the options "
                                          "of vtrls.con, as OK in File > Save would.")};
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

std::optional<int> AnswerRemainingArguments(const QStringList& arguments, LaunchOptions& options) {
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
    options.folder = cli.parser.value(cli.folder);
    options.headless = cli.parser.isSet(cli.headless);
    options.log = cli.parser.isSet(cli.log);
    if (options.log && !options.headless) {
        std::fputs(
            "vantrel: --log needs --headless (with the window, File > Save starts logging)\n"
            "Try 'vantrel --help' for more information.\n",
            stderr);
        return kUsageError;
    }
    return std::nullopt;
}

bool WantsHeadless(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--") {
            break;
        }
        if (argument == "--headless") {
            return true;
        }
    }
    return false;
}

bool EnterStartFolder(const LaunchOptions& options) {
    if (options.folder.isEmpty()) {
        return true;
    }
    if (!QDir().mkpath(options.folder) || !QDir::setCurrent(options.folder)) {
        platform::WriteErrorLine("vantrel: cannot use the folder '" +
                                 QDir::toNativeSeparators(options.folder).toStdString() + "'");
        return false;
    }
    return true;
}

}  // namespace vantrel
