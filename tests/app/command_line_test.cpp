// The real `vantrel --help` from the build tree, without a display: it names the
// start folder's files, the --folder that moves it, and every option, and ends
// at once with success. Guards against a help that loses a line or an option, or
// that needs a window system to print.
#include <gtest/gtest.h>

#include <QProcess>

namespace vantrel::testing {
namespace {

TEST(CommandLine, HelpNamesTheStartFolderFilesAndEveryOptionWithoutADisplay) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("VANTREL_BINARY_DIR") + "/vantrel", {"--help"});
    ASSERT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
    const QString help = QString::fromUtf8(program.readAllStandardOutput());
    for (const char* line :
         {"Reads its settings (vtrl.con, vtrlo.con, vtrls.con) from its start folder\n"
          "(the folder it is started in, or the one given with --folder), writes them\n",
          "channel scales and more) are kept in vantrel.ini in the same start folder,\n",
          "  --folder <dir>  Use <dir> as the start folder (created when missing) instead\n",
          "  --headless ", "  --log ", "  -v, --version ", "  --help-all "}) {
        EXPECT_TRUE(help.contains(QString::fromUtf8(line))) << line << "\nin:\n"
                                                            << help.toStdString();
    }
}

}  // namespace
}  // namespace vantrel::testing
