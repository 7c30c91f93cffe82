// End to end with the real main window, serial port, timers and a simulated card.
// A program logging to a file that fails is ended by SIGTERM, and another by
// SIGKILL: after the next start every waiting record is in a recovery file and
// every setting stored before the end is in its file; the card heard "@F" on
// SIGTERM. Guards against records and stored settings that live only in memory,
// and an end by signal that skips the exit path.
#include <signal.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "app/Program.h"
#include "app/QtProgramParts.h"
#include "app/frmAbout.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSerialPort.h"
#include "tests/engine/Tables.h"
#include "tests/support/CardSimProcess.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeSerialPort.h"

namespace vantrel::testing {
namespace {

constexpr const char* kAppDirVariable = "VANTREL_END_TEST_APPDIR";
constexpr const char* kSimDirVariable = "VANTREL_END_TEST_SIMDIR";

// Started by the test below in a child process, which ends it with a signal:
// channel 0 renamed "Oven" in File > Save and logged every second, without
// headers, to a file in a folder that is not there.
TEST(EndOnSignal, DISABLED_LoggingProgram) {
    const QString appDir = qEnvironmentVariable(kAppDirVariable);
    FakeDialogs dialogs;
    platform::QtClock clock;
    DiskLogFileSink files;
    auto ports = [](int card) -> std::unique_ptr<platform::SerialPort> {
        if (card == 0) {
            return std::make_unique<platform::QtSerialPort>(
                qEnvironmentVariable(kSimDirVariable).toStdString());
        }
        return std::make_unique<FakeSerialPort>();
    };
    Program program(
        {appDir.toStdString()},
        {ports, QtTimers(), clock, dialogs, files, MosquittoClients(), [&](QDialog& dialog) {
             if (qobject_cast<frmAbout*>(&dialog) != nullptr) {
                 return;
             }
             Find<QLineEdit>(dialog, "txtFile").setText(appDir + "/gone/run.csv");
             Find<QLineEdit>(dialog, "txtChannel", 0).setText("Oven");
             Find<QCheckBox>(dialog, "chkHeaders").setChecked(false);
             Find<QComboBox>(dialog, "cmbIntv").setCurrentIndex(0);
             Find<QRadioButton>(dialog, "optSec").click();
             Find<QPushButton>(dialog, "cmdOK").click();
         }});
    ASSERT_TRUE(program.built());
    program.state().SaveChannel[0] = true;
    program.start();
    ASSERT_TRUE(PumpUntil([&] { return program.state().CardConnected1; }));
    Find<QAction>(*program.window(), "TaskStart").trigger();
    Find<QAction>(*program.window(), "FileSave").trigger();
    PumpUntil([&] { return program.run().ended(); }, 60000);
}

TEST(EndOnSignal, SigtermAndSigkillLoseNoWaitingRecordNorStoredSetting) {
    for (const int signalNumber : {SIGTERM, SIGKILL}) {
        CardSimProcess sim;
        ASSERT_TRUE(sim.start(1, {"--rate", "20", "--log-commands"}));
        QTemporaryDir appDir;
        CopyShippedTables(appDir.path().toStdString());
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(kAppDirVariable, appDir.path());
        environment.insert(kSimDirVariable, QString::fromStdString(sim.dir()));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QCoreApplication::applicationFilePath(),
                      {"--gtest_filter=EndOnSignal.DISABLED_LoggingProgram",
                       "--gtest_also_run_disabled_tests"});
        // Ended once three records wait in the journal, below the events part that
        // holds "logging started".
        const QString journal = appDir.filePath("vantrel.journal");
        const auto recordsWaiting = [&] {
            const QStringList lines = CrlfLines(journal);
            const qsizetype part = lines.indexOf(QRegularExpression("^>.*"));
            return part < 0 ? 0 : lines.size() - part - 1;
        };
        ASSERT_TRUE(PumpUntil([&] { return recordsWaiting() >= 3; }, 30000));
        const qsizetype waiting = recordsWaiting();
        ::kill(static_cast<pid_t>(program.processId()), signalNumber);
        ASSERT_TRUE(program.waitForFinished(10000));
        const QString lastWord = signalNumber == SIGTERM ? "@F" : "@N";
        PumpUntil([&] { return sim.commands().endsWith(lastWord); }, 3000);
        EXPECT_EQ(sim.commands().join(',').count('@'), signalNumber == SIGTERM ? 3 : 2);
        EXPECT_EQ(sim.commands().last(), lastWord);

        // The next start.
        FakeDialogs dialogs;
        platform::QtClock clock;
        DiskLogFileSink files;
        Program next(
            {appDir.path().toStdString()},
            {[](int) { return std::make_unique<FakeSerialPort>(); }, QtTimers(), clock, dialogs,
             files, MosquittoClients(), [](QDialog& dialog) { dialog.reject(); }});
        ASSERT_TRUE(next.built());
        EXPECT_EQ(next.state().ChannelName[0], "Oven");
        next.start();
        const QStringList recovered =
            QDir(appDir.path()).entryList({"run-unsaved-*.csv"}, QDir::Files);
        ASSERT_EQ(recovered.size(), 1) << signalNumber;
        EXPECT_GE(CrlfLines(appDir.filePath(recovered[0])).size(), waiting);
        const QStringList events =
            QDir(appDir.path()).entryList({"run.csv.events-unsaved-*.csv"}, QDir::Files);
        ASSERT_EQ(events.size(), 1) << signalNumber;
        EXPECT_EQ(CrlfLines(appDir.filePath(events[0])).filter(",logging started,").size(), 1);
        EXPECT_FALSE(QFile::exists(journal));
        // Killed, the program said nothing; the next start names what it saved.
        EXPECT_EQ(dialogs.nonBlockingMessages.size(), signalNumber == SIGKILL ? 1u : 0u);
        next.window()->Form_Unload();
    }
}

}  // namespace
}  // namespace vantrel::testing
