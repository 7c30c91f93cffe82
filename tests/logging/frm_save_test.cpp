// The save options window driven through its controls: what it shows on opening,
// what OK stores, which messages it raises and when it stays open.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "logging/ui/frmSave.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FakeLogFileSink.h"

namespace vantrel {
namespace {

class FrmSaveTest : public ::testing::Test {
  protected:
    FrmSaveTest() {
        state.LogFileName = "run.csv";
        state.SaveChannel[0] = true;
        state.SaveChannel[3] = true;
        state.ChannelName[3] = "Fan";
    }

    // Opens the window as File > Save would, shown on the screen.
    frmSave& Open() {
        window = std::make_unique<frmSave>(state, dialogs, clock, nullptr, &sink);
        window->show();
        return *window;
    }

    AcquisitionState state;
    testing::FakeClock clock;
    testing::FakeDialogs dialogs;
    testing::FakeLogFileSink sink;
    std::unique_ptr<frmSave> window;
};

TEST_F(FrmSaveTest, OpensWithTheStoredChoices) {
    state.LogIntervalChoice = 42;
    state.LogIntervalUnit = 2;
    state.LogDelimiter = 2;
    state.LogStampStyle = 1;
    state.LogHeaders = false;
    frmSave& w = Open();

    EXPECT_EQ(w.windowTitle(), "Save");
    EXPECT_EQ(w.txtFile->text(), "run.csv");
    EXPECT_EQ(w.cmbIntv->currentText(), "42");
    EXPECT_TRUE(w.optMin->isChecked());
    EXPECT_TRUE(w.optTSV->isChecked());
    EXPECT_TRUE(w.optSN->isChecked());
    EXPECT_FALSE(w.chkHeaders->isChecked());
    for (int n = 0; n < kUsedChannels; ++n) {
        EXPECT_EQ(w.lblChannel[n]->text(), QStringLiteral("Channel %1:").arg(n));
        EXPECT_EQ(w.txtChannel[n]->text(), QString::fromStdString(state.ChannelName[n]));
        EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("txtChannel_%1").arg(n)), w.txtChannel[n]);
    }
}

TEST_F(FrmSaveTest, IntervalListOffersOneToThreeHundredAndTakesNoTypedText) {
    frmSave& w = Open();
    ASSERT_EQ(w.cmbIntv->count(), 300);
    for (int i = 0; i < 300; ++i) {
        EXPECT_EQ(w.cmbIntv->itemText(i), QString::number(i + 1));
    }
    EXPECT_FALSE(w.cmbIntv->isEditable());
}

TEST_F(FrmSaveTest, ChoiceOutsideTheListFromASettingsFileOpensOnTheNearest) {
    state.LogIntervalChoice = 0;
    EXPECT_EQ(Open().cmbIntv->currentText(), "1");
    state.LogIntervalChoice = 999;
    EXPECT_EQ(Open().cmbIntv->currentText(), "300");
}

TEST_F(FrmSaveTest, DateAndTimeOptionShowsOneAmpersandAndNoShortcut) {
    frmSave& w = Open();
    EXPECT_EQ(w.optDT->accessibleName(), "Use Date & Time");
    EXPECT_TRUE(QKeySequence::mnemonic(w.optDT->text()).isEmpty());
    EXPECT_EQ(w.optT->text(), "Use Only Time");
}

TEST_F(FrmSaveTest, OkStoresEveryChoiceAndStartsLogging) {
    frmSave& w = Open();
    w.txtFile->setText("new.csv");
    w.txtChannel[0]->setText("Inlet");
    w.optSSV->setChecked(true);
    w.optHour->setChecked(true);
    w.cmbIntv->setCurrentIndex(299);
    w.optDT->setChecked(true);
    w.chkHeaders->setChecked(true);

    w.cmdOK->click();

    EXPECT_EQ(state.LogFileName, "new.csv");
    EXPECT_EQ(state.ChannelName[0], "Inlet");
    EXPECT_EQ(state.LogDelimiter, 3);
    EXPECT_EQ(state.LogIntervalUnit, 3);
    EXPECT_EQ(state.LogIntervalChoice, 300);
    EXPECT_EQ(state.LogStampStyle, 2);
    EXPECT_EQ(state.LogIntervalTicks, 1080000);
    EXPECT_EQ(state.LogTickCount, 1079999);
    EXPECT_TRUE(state.Saving);
    EXPECT_EQ(sink.files["new.csv"], "DATE,TIME,Inlet Fan\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

TEST_F(FrmSaveTest, EmptyFileNameStopsLoggingAndKeepsTheWindowOpen) {
    state.Saving = true;
    frmSave& w = Open();
    w.txtFile->clear();
    w.optTSV->setChecked(true);

    w.cmdOK_Click();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "File name cannot be left empty");
    EXPECT_EQ(dialogs.messages[0].title, "File Name Error");
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Critical);
    EXPECT_FALSE(state.Saving);
    EXPECT_EQ(state.LogDelimiter, 2);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(FrmSaveTest, NoChannelMarkedKeepsTheWindowOpenAndLoggingAsItWas) {
    state.SaveChannel = {};
    state.Saving = true;
    state.LogIntervalTicks = 5;
    frmSave& w = Open();
    w.optMin->setChecked(true);

    w.cmdOK_Click();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "No channels for saving selected!");
    EXPECT_EQ(dialogs.messages[0].title, "Saving Error");
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Information);
    EXPECT_TRUE(state.Saving);
    EXPECT_EQ(state.LogIntervalUnit, 2);
    EXPECT_EQ(state.LogIntervalTicks, 5);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(FrmSaveTest, HeadersOffLeavesAnExistingFileAlone) {
    sink.files["run.csv"] = "earlier run\r\n";
    frmSave& w = Open();
    w.chkHeaders->setChecked(false);
    w.cmdOK_Click();
    EXPECT_TRUE(state.Saving);
    EXPECT_EQ(sink.files["run.csv"], "earlier run\r\n");
}

TEST_F(FrmSaveTest, NameWithADoubleQuoteIsRefusedNamingTheChannel) {
    frmSave& w = Open();
    w.txtChannel[9]->setText("6\" pipe");
    w.txtFile->setText("other.csv");

    w.cmdOK_Click();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("Channel 9"), std::string::npos);
    EXPECT_EQ(state.ChannelName[9], "Channel 9");
    EXPECT_EQ(state.LogFileName, "run.csv");
    EXPECT_FALSE(state.Saving);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(FrmSaveTest, SelectPutsThePickedPathInTheBoxOnly) {
    frmSave& w = Open();
    dialogs.saveAnswers.push_back(std::string("/data/picked.csv"));
    w.cmdSelect->click();
    EXPECT_EQ(w.txtFile->text(), "/data/picked.csv");
    EXPECT_EQ(dialogs.saveRequests.at(0).initialPath, "run.csv");
    EXPECT_FALSE(dialogs.saveRequests.at(0).confirmOverwrite);
    EXPECT_EQ(state.LogFileName, "run.csv");

    dialogs.saveAnswers.push_back(std::nullopt);
    w.cmdSelect_Click();
    EXPECT_EQ(w.txtFile->text(), "/data/picked.csv");
}

TEST_F(FrmSaveTest, CancelStoresNothing) {
    frmSave& w = Open();
    w.txtFile->setText("other.csv");
    w.txtChannel[3]->setText("Pump");
    w.optNone->setChecked(true);
    w.cmdCancel->click();
    EXPECT_EQ(state.LogFileName, "run.csv");
    EXPECT_EQ(state.ChannelName[3], "Fan");
    EXPECT_EQ(state.LogStampStyle, 3);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Rejected);
}

TEST_F(FrmSaveTest, OptionGroupsAreIndependent) {
    frmSave& w = Open();
    w.optSSV->setChecked(true);
    w.optHour->setChecked(true);
    w.optNone->setChecked(true);
    EXPECT_TRUE(w.optSSV->isChecked());
    EXPECT_TRUE(w.optHour->isChecked());
    EXPECT_TRUE(w.optNone->isChecked());
    EXPECT_FALSE(w.optCSV->isChecked());
    EXPECT_FALSE(w.optSec->isChecked());
    EXPECT_FALSE(w.optT->isChecked());
}

}  // namespace
}  // namespace vantrel
