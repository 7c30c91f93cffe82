// A channel's user scale in the analog view, against a simulated card on a
// pseudo-terminal: a 4-20 mA transmitter of 0-10 bar reads its unit and decimals,
// a channel without a scale reads as it always has.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

#include "app/Program.h"
#include "app/QtProgramParts.h"
#include "engine/InputTypes.h"
#include "platform/qt/QtSerialPort.h"
#include "tests/engine/Tables.h"
#include "tests/support/CardSimProcess.h"
#include "tests/support/Controls.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel::testing {
namespace {

TEST(ChannelScaleWindow, AnAnalogViewShowsAFourToTwentyMilliampChannelInItsUnit) {
    CardSimProcess sim;
    ASSERT_TRUE(sim.start(1, {"--rate", "20", "--ch", "2=ma:12", "--ch", "3=ma:12"}));
    QTemporaryDir appDir;
    CopyShippedTables(appDir.path().toStdString());
    QFile ini(appDir.filePath("vantrel.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[channels]\nch2_scale = 4 0 20 10\nch2_unit = bar\nch2_decimals = 1\n");
    ini.close();
    FakeDialogs dialogs;
    FakeClock clock;
    DiskLogFileSink files;
    Program program({appDir.path().toStdString()},
                    {[&](int) { return std::make_unique<platform::QtSerialPort>(sim.dir()); },
                     QtTimers(), clock, dialogs, files, MosquittoClients(), [](QDialog&) {}});
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
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace vantrel::testing
