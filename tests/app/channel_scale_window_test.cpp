// A channel's user scale in the analog view, against a simulated card on a
// pseudo-terminal: a 4-20 mA transmitter of 0-10 bar reads its unit and decimals,
// a channel without a scale reads as it always has, and the Channels page of
// Options > Settings previews a scale as typed, refuses a slip naming the channel
// and field (a number it does not take giving way to the cell's previous text),
// reads the user's decimal comma, and stores what OK accepts. The trend draws and names the scaled
// channel in its unit, and History shows it and a derived channel over it with
// their units.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "app/PreferencesFile.h"
#include "app/Program.h"
#include "app/QtProgramParts.h"
#include "engine/InputTypes.h"
#include "history/SeriesReading.h"
#include "history/ui/frmHistory.h"
#include "platform/qt/QtSerialPort.h"
#include "tests/engine/Tables.h"
#include "tests/support/CardSimProcess.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "views/ui/ChannelSettingsPage.h"

namespace vantrel::testing {
namespace {

TEST(ChannelScaleWindow, AnAnalogViewShowsAFourToTwentyMilliampChannelInItsUnit) {
    CardSimProcess sim;
    ASSERT_TRUE(sim.start(1, {"--rate", "20", "--ch", "2=ma:12", "--ch", "3=ma:12"}));
    QTemporaryDir appDir;
    CopyShippedTables(appDir.path().toStdString());
    QFile ini(appDir.filePath("vantrel.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(
        "[channels]\nch2_scale = 4 0 20 10\nch2_unit = bar\nch2_decimals = 1\n"
        "[derived]\nderived1 = twice | bar | 1 | ch2 * 2\n");
    ini.close();
    FakeDialogs dialogs;
    FakeClock clock;
    DiskLogFileSink files;
    std::function<void(QDialog&)> modal = [](QDialog&) {};
    Program program(
        {appDir.path().toStdString()},
        {[&](int) { return std::make_unique<platform::QtSerialPort>(sim.dir()); }, QtTimers(),
         clock, dialogs, files, MosquittoClients(), [&](QDialog& dialog) { modal(dialog); }});
    ASSERT_TRUE(program.built());
    AcquisitionState& state = program.state();
    mdiDaq& window = *program.window();
    program.start();
    ASSERT_TRUE(PumpUntil([&] { return state.CardConnected1; }));
    for (const std::size_t slot : {2u, 3u}) {
        state.InputType[slot] = input_type::kCurrent4To20mA;
        state.InputRange[slot] = 20;
    }
    Find<QAction>(window, "TaskStart").trigger();
    ASSERT_TRUE(PumpUntil([&] { return state.ChannelValue[3] > 9.0f; }));

    Find<QAction>(window, "ViewAnalogData").trigger();
    const QWidget& analog = Find(window, "frmViewAnalogData");
    Tick(analog);
    EXPECT_EQ(Find<QLabel>(analog, "lblData", 2).text(), "5.0 bar");
    // 12 mA is half the live-zero span: 10.00 of an input range of 20.
    EXPECT_EQ(Find<QLabel>(analog, "lblData", 3).text(), "10.00");

    Find<QAction>(window, "ViewTrend").trigger();
    QWidget& trend = Find(window, "frmTrend");
    Tick(trend, "tmrTrend");
    EXPECT_EQ(Find<QLabel>(trend, "lblChannel", 2).text(), "Channel 2 [bar]");
    EXPECT_EQ(Find<QLabel>(trend, "lblChannel", 3).text(), "Channel 3");
    EXPECT_EQ(Find<QLabel>(trend, "lblData", 2).text(), "5.0 bar");
    Find<QAction>(window, "ViewHistory").trigger();
    auto& history = dynamic_cast<frmHistory&>(Find(window, "frmHistory"));
    ASSERT_EQ(history.chkChannel.size(), 17u);
    EXPECT_TRUE(history.chkChannel[2]->text().endsWith(" [bar]"));
    EXPECT_TRUE(history.chkChannel[3]->text().endsWith(" [mA]"));
    EXPECT_EQ(history.chkChannel[16]->text(), "twice [bar]");
    const history::HistoryDocument& run = history.document();
    EXPECT_NEAR(*history::ValueAt(run.groups[0].series, 2, run.lastX()), 5.0, 0.05);
    EXPECT_NEAR(*history::ValueAt(run.groups[2].series, 0, run.lastX()), 10.0, 0.1);

    // CH3 as gain and offset, in kPa to no decimals.
    modal = [&](QDialog& dialog) {
        Find<QListWidget>(dialog, "lstPages").setCurrentRow(3);
        auto& table = Find<QTableWidget>(dialog, "tblChannels");
        EXPECT_EQ(table.item(2, ChannelSettingsPage::InputType)->text(), "4 ~ 20 mA");
        EXPECT_EQ(table.item(2, ChannelSettingsPage::Scale)->text(), "4 0 20 10");
        EXPECT_EQ(table.item(2, ChannelSettingsPage::Preview)->text(), "5.0 bar");
        // A number a cell does not take gives way to the cell's previous text, current.
        table.item(3, ChannelSettingsPage::Scale)->setText("gain 62.5 offset -25O");
        table.item(3, ChannelSettingsPage::Decimals)->setText("10");
        for (const int column : {ChannelSettingsPage::Decimals, ChannelSettingsPage::Scale}) {
            Find<QPushButton>(dialog, "cmdOK").click();
            EXPECT_EQ(table.item(3, column)->text(), "");
            EXPECT_EQ(table.currentItem(), table.item(3, column));
        }
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        table.item(3, ChannelSettingsPage::Scale)->setText("gain 62.5 offset -250");
        table.item(3, ChannelSettingsPage::Unit)->setText("kPa");
        EXPECT_EQ(table.item(3, ChannelSettingsPage::Preview)->text(), "500.00 kPa");
        table.item(3, ChannelSettingsPage::Decimals)->setText("0");
        EXPECT_EQ(table.item(3, ChannelSettingsPage::Preview)->text(), "500 kPa");
        // Typed with the user's decimal comma; the file keeps a period.
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German));
        table.item(3, ChannelSettingsPage::Scale)->setText("gain 62,5 offset -250");
        Find<QPushButton>(dialog, "cmdOK").click();
        QLocale::setDefault(before);
    };
    Find<QAction>(window, "OptionsSettings").trigger();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text,
              "CH3 decimals: \"10\" is not accepted.\nAllowed: a whole number from 0 to 9.");
    EXPECT_EQ(dialogs.messages[1].text, "CH3 scale: \"-25O\" is not accepted.\nAllowed: a number.");
    Tick(analog);
    EXPECT_EQ(Find<QLabel>(analog, "lblData", 3).text(), "500 kPa");
    const ChannelScales stored = LoadPreferences(state.AppDir).preferences.channels;
    ASSERT_TRUE(stored[3].has_value());
    EXPECT_EQ(ScaleText(*stored[3]), "gain 62.5 offset -250");
    EXPECT_EQ(stored[2]->unit, "bar");
}

}  // namespace
}  // namespace vantrel::testing
