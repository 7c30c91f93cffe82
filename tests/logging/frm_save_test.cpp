// The save options window opened from File > Save and driven by its controls: an
// option, the interval list, a name box or the check box shown from or stored to
// the wrong field or code, a list that takes typed text, OK that closes on a
// refusal, Select that asks before replacing the log, Cancel that stores, a menu
// check mark that does not follow the logging state().
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "settings/SettingsFiles.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/Controls.h"

namespace vantrel::testing {
namespace {

class FrmSaveTest : public MainWindowFixture {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        state().LogFileName = folder.filePath("run.csv").toStdString();
        state().SaveChannel[3] = true;
    }

    // File > Save as the user picks it; `user` is what they do in the window.
    void ChooseFileSave(const std::function<void(QDialog&)>& user) {
        modal = [&](QDialog& dialog) {
            dialog.show();
            user(dialog);
        };
        choose("FileSave");
    }
};

TEST_F(FrmSaveTest, EachOptionShowsItsStoredCodeAndOkStoresItBack) {
    using S = AcquisitionState;
    const std::tuple<const char*, std::int16_t S::*, int> options[] = {
        {"optCSV", &S::LogDelimiter, 1},    {"optTSV", &S::LogDelimiter, 2},
        {"optSSV", &S::LogDelimiter, 3},    {"optSec", &S::LogIntervalUnit, 1},
        {"optMin", &S::LogIntervalUnit, 2}, {"optHour", &S::LogIntervalUnit, 3},
        {"optSN", &S::LogStampStyle, 1},    {"optDT", &S::LogStampStyle, 2},
        {"optT", &S::LogStampStyle, 3},     {"optNone", &S::LogStampStyle, 4},
        {"optISO", &S::LogStampStyle, 5}};
    for (const auto& [option, field, code] : options) {
        state().*field = static_cast<std::int16_t>(code);
        // Named copies, as clang 14 cannot capture a structured binding.
        ChooseFileSave([&, option = option, field = field](QDialog& w) {
            EXPECT_TRUE(Find<QRadioButton>(w, option).isChecked()) << option;
            state().*field = 0;
            Find<QAbstractButton>(w, "cmdOK").click();
        });
        EXPECT_EQ(state().*field, code) << option;
    }
}

TEST_F(FrmSaveTest, OkStoresWhatTheUserChoseStartsLoggingAndClosesTheWindow) {
    const std::string picked = folder.filePath("picked.csv").toStdString();
    dialogs.saveAnswers = {picked};
    state().LogHeaders = false;
    state().LogIntervalChoice = 0;  // from a damaged settings file
    ChooseFileSave([](QDialog& w) {
        EXPECT_EQ(Find<QComboBox>(w, "cmbIntv").currentText(), "1");
        EXPECT_FALSE(Find<QComboBox>(w, "cmbIntv").isEditable());
        EXPECT_EQ(Find<QLabel>(w, "lblChannel", 15).text(), "Channel 15:");
        Find<QLineEdit>(w, "txtChannel", 3).setText("Fan");
        Find<QAbstractButton>(w, "cmdSelect").click();
        Find<QAbstractButton>(w, "chkHeaders").click();
        Find<QAbstractButton>(w, "cmdOK").click();
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_FALSE(dialogs.saveRequests.at(0).confirmOverwrite);
    EXPECT_EQ(state().LogFileName, picked);
    EXPECT_EQ(state().ChannelName[3], "Fan");
    EXPECT_TRUE(state().LogHeaders);
    EXPECT_TRUE(Find<QAction>(*window, "FileSave").isChecked());
    // Stored is saved, so a program killed later keeps it.
    EXPECT_EQ(startFolderFile("vtrls.con"), LogSettingsText(state()));
}

TEST_F(FrmSaveTest, EmptyFileNameKeepsTheWindowOpenAndCancelThenStoresNothingMore) {
    state().Saving = true;
    ChooseFileSave([](QDialog& w) {
        auto& interval = Find<QComboBox>(w, "cmbIntv");
        EXPECT_EQ(interval.currentText(), "5");
        interval.setCurrentIndex(interval.findText("300"));
        Find<QLineEdit>(w, "txtFile").clear();
        Find<QAbstractButton>(w, "cmdOK").click();
        EXPECT_TRUE(w.isVisible());
        Find<QLineEdit>(w, "txtChannel", 3).setText("Pump");
        Find<QAbstractButton>(w, "cmdCancel").click();
        EXPECT_FALSE(w.isVisible());
    });
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(state().LogIntervalChoice, 300);
    EXPECT_EQ(state().ChannelName[3], "Channel 3");
    EXPECT_FALSE(Find<QAction>(*window, "FileSave").isChecked());
}

}  // namespace
}  // namespace vantrel::testing
