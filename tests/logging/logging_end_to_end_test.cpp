// The program's own pieces end to end: a simulated card on a pseudo-terminal, the
// real serial port and card link, the main window with its File > Save and the
// logger, driven by scripted one-second ticks. The log files are compared line by
// line: a file that stops accepting records must not hold back the next one chosen,
// nor lose its waiting records when the program ends.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/frmAbout.h"
#include "app/mdiDaq.h"
#include "link/CardLink.h"
#include "logging/ui/frmSave.h"
#include "platform/qt/QtSerialPort.h"
#include "tests/support/CardSimProcess.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeSerialPort.h"

namespace vantrel::testing {
namespace {

std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    const std::string text = contents.str();
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "unterminated line: " << text.substr(start);
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

class LoggingEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        // Card 1 on COM1; card 2 is absent, so its slots keep their zero values.
        ASSERT_TRUE(sim.start(1, {"--rate", "50", "--ch", "0=count:16000", "--ch", "3=count:-8000",
                                  "--ch", "5=count:1234", "--ch", "7=count:32000"}));
        state.AppDir = sim.dir();
        cm2.openSucceeds = false;
        cm = std::make_unique<platform::QtSerialPort>(sim.dir());
        window = std::make_unique<mdiDaq>(state, *cm, cm2, dialogs, clock);
        window->setModalRunner([this](QDialog& dialog) {
            if (auto* about = qobject_cast<frmAbout*>(&dialog)) {
                about->Timer1_Timer();
            } else if (auto* save = qobject_cast<frmSave*>(&dialog)) {
                fillSaveWindow(*save);
            }
        });
    }
    void TearDown() override {
        window.reset();
        cm.reset();
        sim.stop();
    }

    // What the user does in File > Save: a file in the card's folder, date and
    // time stamps, every second, headers on.
    void fillSaveWindow(frmSave& w) {
        w.txtFile->setText(QString::fromStdString(chosenPath.empty() ? logPath() : chosenPath));
        w.txtChannel[3]->setText("Fan");
        w.optDT->setChecked(true);
        w.optCSV->setChecked(true);
        w.optSec->setChecked(true);
        w.cmbIntv->setCurrentIndex(0);
        w.chkHeaders->setChecked(true);
        w.cmdOK->click();
    }

    std::string logPath() const { return sim.dir() + "/run.csv"; }
    std::uint64_t analogFrames() const { return window->cardLink(0).counters().analogFrames; }

    // One second of the logger's timer at the given time of day, with the card's
    // frames flowing in between.
    void tickAt(int hour, int minute, int second) {
        const auto before = analogFrames();
        ASSERT_TRUE(PumpUntil([&] { return analogFrames() > before; }));
        clock.current = {2026, 12, 6, hour, minute, second};
        window->tmrSave_Timer();
    }

    CardSimProcess sim;
    AcquisitionState state;
    FakeSerialPort cm2;
    FakeDialogs dialogs;
    FakeClock clock;
    std::unique_ptr<platform::QtSerialPort> cm;
    std::unique_ptr<mdiDaq> window;
    std::string chosenPath;
};

TEST_F(LoggingEndToEnd, SwitchFromAFailingFileLogsAtOnceAndExitKeepsWhatWaited) {
    window->Form_Load();
    // The test's ticks stand in for the one-second timer.
    window->tmrSave->stop();
    ASSERT_TRUE(PumpUntil([&] { return state.CardConnected1; }));

    window->TaskStart_Click();
    ASSERT_TRUE(PumpUntil([&] { return analogFrames() >= 3; }));

    // Task manager choices: three channels of card 1 and one of the absent card 2.
    for (int slot : {0, 3, 5, 9}) {
        state.SaveChannel[slot] = true;
    }
    // Logging to a memory stick that is then pulled out.
    const std::filesystem::path stick = std::filesystem::path(sim.dir()) / "stick";
    std::filesystem::create_directories(stick);
    const std::string stickLog = (stick / "run.csv").string();
    chosenPath = stickLog;
    window->FileSave->trigger();
    ASSERT_TRUE(state.Saving);
    EXPECT_TRUE(window->FileSave->isChecked());
    std::filesystem::remove_all(stick);
    tickAt(14, 5, 9);
    tickAt(14, 5, 10);
    EXPECT_TRUE(state.SaveError);

    chosenPath = logPath();
    window->FileSave->trigger();
    tickAt(14, 5, 11);
    EXPECT_FALSE(state.SaveError);
    EXPECT_EQ(FileLines(logPath()), (std::vector<std::string>{
                                        "DATE,TIME,Channel 0,Fan,Channel 5,Channel 9",
                                        "06/12/26,14:05:11,5,-2.5,0.385625,0",
                                    }));

    window->FileExit->trigger();
    EXPECT_EQ(FileLines(sim.dir() + "/run-unsaved-20261206-140511.csv"),
              (std::vector<std::string>{"06/12/26,14:05:09,5,-2.5,0.385625,0",
                                        "06/12/26,14:05:10,5,-2.5,0.385625,0"}));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("2 log records could not be written to " + stickLog),
              std::string::npos);
}

TEST_F(LoggingEndToEnd, NothingIsLoggedBeforeCardOneAnswers) {
    // Logging switched on before the card has identified itself: the ticks are
    // not counted until it has.
    state.SaveChannel[0] = true;
    window->tmrSave->stop();
    window->FileSave_Click();
    clock.current = {2026, 12, 6, 8, 0, 0};
    window->tmrSave_Timer();
    window->tmrSave_Timer();
    EXPECT_EQ(FileLines(logPath()), (std::vector<std::string>{"DATE,TIME,Channel 0"}));

    window->Form_Load();
    window->tmrSave->stop();
    ASSERT_TRUE(PumpUntil([&] { return state.CardConnected1; }));
    window->tmrSave_Timer();
    // No task runs: the logger writes the values as they stand.
    EXPECT_EQ(FileLines(logPath()),
              (std::vector<std::string>{"DATE,TIME,Channel 0", "06/12/26,08:00:00,0"}));
}

}  // namespace
}  // namespace vantrel::testing
