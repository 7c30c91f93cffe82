// Alarms in the main window, against a simulated card on a pseudo-terminal: two
// rules on a channel raise their alarms, the list and the status bar show them
// worst first, Acknowledge and Space acknowledge them, the critical rule's output
// line reaches the card, a marker is added, and when the card is unplugged its
// values are greyed with the time of its last frame.
#include <signal.h>

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <variant>

#include "alarms/RuleText.h"
#include "app/Program.h"
#include "app/QtProgramParts.h"
#include "platform/qt/QtSerialPort.h"
#include "tests/engine/Tables.h"
#include "tests/support/CardSimProcess.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "views/ui/ChannelMarkLooks.h"

namespace vantrel::testing {
namespace {

alarms::AlarmRule Rule(const char* text) {
    auto parsed = alarms::ParseRule(text);
    if (!std::holds_alternative<alarms::AlarmRule>(parsed)) {
        throw std::runtime_error(std::get<std::string>(parsed));
    }
    return std::get<alarms::AlarmRule>(parsed);
}

QString Cell(const QWidget& window, const char* table, int row, int column) {
    const QTableWidgetItem* item = Find<QTableWidget>(window, table).item(row, column);
    return item == nullptr ? QString() : item->text();
}

TEST(AlarmWindow, RaisedFromASimulatedCardListedAcknowledgedAndSwitchingItsOutput) {
    CardSimProcess sim;
    ASSERT_TRUE(sim.start(1, {"--rate", "20", "--ch", "0=count:1234", "--log-commands"}));
    QTemporaryDir appDir;
    CopyShippedTables(appDir.path().toStdString());
    FakeDialogs dialogs;
    FakeClock clock;
    clock.current = {2026, 12, 6, 14, 5, 11};
    DiskLogFileSink files;
    Program program({appDir.path().toStdString()},
                    {[&](int) { return std::make_unique<platform::QtSerialPort>(sim.dir()); },
                     QtTimers(), clock, dialogs, files, MosquittoClients(), [](QDialog&) {}});
    ASSERT_TRUE(program.built());
    AcquisitionState& state = program.state();
    mdiDaq& window = *program.window();
    acquisition::Run& run = program.run();
    program.start();
    ASSERT_TRUE(PumpUntil([&] { return state.CardConnected1; }));

    // 1234 counts on the 10 V range read 0.385625 V: above both limits.
    alarms::AlarmSettings settings;
    settings.rules = {Rule("CH0 above 0.1 warning"), Rule("CH0 above 0.3 critical set D11")};
    run.setAlarmSettings(settings);
    Find<QAction>(window, "TaskStart").trigger();
    ASSERT_TRUE(PumpUntil([&] { return run.events().active().size() == 2; }));

    // The status bar names the count and the worst alarm, in its colour.
    const auto& line = Find<QLabel>(window, "lblAlarms");
    EXPECT_EQ(line.text(), "2 alarms: CH0 above 0.3");
    EXPECT_FALSE(line.isHidden());
    EXPECT_EQ(line.palette().color(QPalette::Window), AlarmColour(alarms::AlarmLevel::Critical));

    Find<QAction>(window, "ViewAlarms").trigger();
    const QWidget& list = Find(window, "frmAlarms");
    auto& active = Find<QTableWidget>(list, "grdActive");
    ASSERT_EQ(active.rowCount(), 2);
    const QStringList critical = {"CH0",      "CH0 above 0.3",       "critical",
                                  "0.385625", "2026-12-06 14:05:11", "No"};
    for (int column = 0; column < critical.size(); ++column) {
        EXPECT_EQ(Cell(list, "grdActive", 0, column), critical[column]) << column;
    }
    EXPECT_EQ(Cell(list, "grdActive", 1, 2), "warning");
    EXPECT_EQ(Cell(list, "grdHistory", 0, 1), "raised");

    // The critical rule set output line 11 of card 1.
    EXPECT_TRUE(sim.waitForLine("outputs 0800"));

    // Acknowledge takes the selected row, Space the next one.
    active.selectRow(0);
    Find<QPushButton>(list, "cmdAcknowledge").click();
    EXPECT_EQ(Cell(list, "grdActive", 0, 5), "Yes");
    EXPECT_EQ(Cell(list, "grdActive", 1, 5), "No");
    EXPECT_EQ(Cell(list, "grdHistory", 0, 1), "acknowledged");
    active.selectRow(1);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(&active, &space);
    EXPECT_EQ(Cell(list, "grdActive", 1, 5), "Yes");
    // Acknowledged alarms whose condition holds stay active.
    EXPECT_EQ(line.text(), "2 alarms: CH0 above 0.3");

    // Ctrl+M's marker, typed with blanks around it.
    dialogs.textAnswers.push_back("  bath filled ");
    Find<QAction>(window, "TaskAddMarker").trigger();
    ASSERT_FALSE(run.events().events().empty());
    EXPECT_EQ(run.events().events().back().kind, alarms::EventKind::Marker);
    EXPECT_EQ(run.events().events().back().text, "bath filled");

    // The channel in alarm is marked; the others are not.
    Find<QAction>(window, "ViewAnalogData").trigger();
    Find<QAction>(window, "ViewTrend").trigger();
    const QWidget& analog = Find(window, "frmViewAnalogData");
    const QWidget& trend = Find(window, "frmTrend");
    Tick(analog);
    EXPECT_EQ(Find<QLabel>(analog, "lblData", 0).palette().color(QPalette::Window),
              AlarmColour(alarms::AlarmLevel::Critical));
    EXPECT_FALSE(Find<QLabel>(analog, "lblData", 1).autoFillBackground());
    EXPECT_TRUE(Find<QLabel>(analog, "lblData", 0).toolTip().isEmpty());

    // Unplugged: every value of the card is old, greyed with its last frame's time.
    sim.signal(SIGUSR1);
    ASSERT_TRUE(sim.waitForLine("hangup"));
    ASSERT_TRUE(PumpUntil([&] { return state.PortLost1; }));
    Tick(analog);
    Tick(trend, QStringLiteral("tmrTrend"));
    for (const QWidget* view : {&analog, &trend}) {
        for (const int slot : {0, 7}) {
            const auto& value = Find<QLabel>(*view, "lblData", slot);
            EXPECT_EQ(value.palette().color(QPalette::WindowText), kNotLiveTextColour) << slot;
            EXPECT_EQ(value.toolTip(), "Not live: last frame at 2026-12-06 14:05:11") << slot;
        }
    }
    // Card 2 never answered: no frame at all.
    Tick(analog);
    EXPECT_EQ(Find<QLabel>(analog, "lblData", 8).toolTip(), "Not live: no frame received");

    // Acknowledge All (Ctrl+Shift+A) leaves nothing unacknowledged.
    Find<QPushButton>(list, "cmdAcknowledgeAll").click();
    for (const alarms::ActiveAlarm& alarm : run.events().active()) {
        EXPECT_TRUE(alarm.acknowledged) << alarm.text;
    }
    Find<QAction>(window, "FileExit").trigger();
}

}  // namespace
}  // namespace vantrel::testing
