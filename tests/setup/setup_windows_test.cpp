// Guards the configuration and calibration windows as opened from the Options menu.
// Configuration: captions, the type list in code order, card 1's and card 2's
// windows open at once, each showing and saving only its own card (card 2 is
// channel + 8, line + 16), the
// range box read leniently, the disk buttons (filter, extension, the file text: an
// upper-case hex mask with bit d for line d, one type digit per channel) moving
// only the window's content, a file with type code 7 refused and changing nothing.
// Calibration: captions, every channel ticked and every lamp black at opening,
// each window's live counts of its own card once its frame is 62 characters, each
// button's limit (150, 26000, 23000; RTD takes anything), table, lamp colour and
// messages, one box per refused channel, the question before storing, the values
// before and after, Undo of the last step, export and import of card 1's values.
// Typed input ranges refused with a message, the last one kept.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>

#include "settings/SettingsFiles.h"
#include "setup/CalibrationStep.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/engine/TempFolder.h"
#include "tests/support/Controls.h"

namespace vantrel {
namespace {

using platform::MessageIcon;
using testing::Find;

class SetupWindowTest : public testing::MainWindowFixture {
  protected:
    void click(QWidget& view, const char* button) { Find<QPushButton>(view, button).click(); }
    bool checked(QWidget& view, const char* option, int index) {
        return Find<QAbstractButton>(view, option, index).isChecked();
    }

    testing::TempFolder files;
};

// Each card's entry opens that card's window, both stay open, and each shows and
// saves only its own card. A stored type code no entry stands for shows as none,
// and such a window is not saved to disk.
TEST_F(SetupWindowTest, ConfigurationWindowsOfBothCardsEachServeTheirOwnCard) {
    state().InputType[2] = 5;
    state().InputRange[2] = 2.5;
    state().DigitalDirection[3] = kLineOutput;
    state().InputType[4] = 9;
    state().InputType[10] = 3;
    state().InputRange[10] = 7.5;
    QWidget& card1 = open("OptionsCardConfig_0", "frmConfig_0");
    EXPECT_EQ(Find<QGroupBox>(card1, "FrameAnalog", 7).title(), "Analog Input 7");
    EXPECT_EQ(Find<QGroupBox>(card1, "FrameDIO", 15).title(), "Digital Input/Output 15");
    const auto& types = Find<QComboBox>(card1, "cmbInputType", 2);
    QStringList entries;
    for (int i = 0; i < types.count(); ++i) {
        entries << types.itemText(i);
    }
    EXPECT_EQ(entries.join('|'), "+/- 10V|0 ~ 20 mA|4 ~ 20 mA|0 ~ 200 mV|PT-100|T/C - J|T/C - K");
    EXPECT_EQ(Find<QLineEdit>(card1, "txtInputRange", 2).text(), "2.5");
    EXPECT_FALSE(Find<QPushButton>(card1, "cmdSave", 1).isEnabled());
    Find<QLineEdit>(card1, "txtInputRange", 0).setText("1 2.5 V");
    Find<QComboBox>(card1, "cmbInputType", 7).setCurrentIndex(6);
    Find<QRadioButton>(card1, "optDIOOutput", 15).click();

    QWidget& card2 = open("OptionsCardConfig_1", "frmConfig_1");
    EXPECT_EQ(&open("OptionsCardConfig_0", "frmConfig_0"), &card1);
    EXPECT_EQ(Find<QMdiArea>(*window, "mdiArea").subWindowList().size(), 2);
    EXPECT_EQ(card1.windowTitle(), "Card Configuration - Card 1");
    EXPECT_EQ(card2.windowTitle(), "Card Configuration - Card 2");
    EXPECT_EQ(Find<QLineEdit>(card2, "txtInputRange", 2).text(), "7.5");
    EXPECT_EQ(Find<QComboBox>(card2, "cmbInputType", 2).currentIndex(), 3);
    EXPECT_TRUE(checked(card2, "optDIOInput", 3));
    Find<QComboBox>(card2, "cmbInputType", 0).setCurrentIndex(1);
    Find<QRadioButton>(card2, "optDIOOutput", 0).click();

    click(card1, "cmdSave_0");
    EXPECT_EQ(state().InputRange[0], 12.5);
    EXPECT_EQ(state().InputType[2], 5);
    EXPECT_EQ(state().InputType[7], 6);
    EXPECT_EQ(state().DigitalDirection[3], kLineOutput);
    EXPECT_EQ(state().DigitalDirection[15], kLineOutput);
    EXPECT_EQ(state().DigitalDirection[14], kLineInput);
    EXPECT_EQ(state().InputType[8], 0) << "card 2 keeps its values";
    EXPECT_EQ(state().DigitalDirection[16], kLineInput) << "card 2 keeps its values";
    click(card2, "cmdSave_0");
    EXPECT_EQ(state().InputType[8], 1);
    EXPECT_EQ(state().InputType[10], 3);
    EXPECT_EQ(state().InputRange[10], 7.5);
    EXPECT_EQ(state().DigitalDirection[16], kLineOutput);
    EXPECT_EQ(state().DigitalDirection[19], kLineInput);
    EXPECT_EQ(state().InputType[0], 0) << "card 1 keeps its values";
    EXPECT_EQ(state().InputType[7], 6) << "card 1 keeps its values";
    // Stored is saved, so a program killed later keeps it.
    EXPECT_EQ(startFolderFile("vtrlo.con"), ChannelSettingsText(state()));
    click(card1, "cmdSaveToDisk");
    EXPECT_TRUE(dialogs.saveRequests.empty()) << "channel 4 shows no input type";
    EXPECT_NE(dialogs.messages.at(0).text.find("input 4"), std::string::npos);
}

TEST_F(SetupWindowTest, ConfigurationDiskButtonsMoveOnlyTheWindowsContent) {
    QWidget& view = open("OptionsCardConfig_0", "frmConfig_0");
    Find<QComboBox>(view, "cmbInputType", 0).setCurrentIndex(4);
    Find<QLineEdit>(view, "txtInputRange", 1).setText("1,5");
    for (int d = 8; d < kLinesPerCard; ++d) {
        Find<QRadioButton>(view, "optDIOOutput", d).click();
    }
    dialogs.saveAnswers.push_back(files.file("card.cfg"));
    click(view, "cmdSaveToDisk");
    EXPECT_EQ(dialogs.saveRequests.at(0).filter, "Config Files (*.cfg)|*.cfg");
    EXPECT_EQ(dialogs.saveRequests.at(0).defaultExtension, "cfg");
    EXPECT_EQ(files.read("card.cfg"),
              "00FF\r\n40000000\r\n10\r\n\"1,5\"\r\n10\r\n10\r\n10\r\n10\r\n10\r\n10\r\n");

    files.write("mixed.cfg", "8000\r\n0123\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    files.write("bad.cfg", "0000\r\n00070000\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    dialogs.openAnswers = {files.file("mixed.cfg"), files.file("bad.cfg")};
    click(view, "cmdLoadFromDisk");
    EXPECT_EQ(dialogs.openRequests.at(0).filter, "Config Files (*.cfg)|*.cfg");
    EXPECT_TRUE(checked(view, "optDIOInput", 15));
    EXPECT_TRUE(checked(view, "optDIOOutput", 0));
    EXPECT_EQ(Find<QComboBox>(view, "cmbInputType", 3).currentIndex(), 3);
    EXPECT_EQ(Find<QLineEdit>(view, "txtInputRange", 7).text(), "8");
    EXPECT_EQ(state().DigitalDirection[0], kLineInput) << "the shared state is not touched";
    click(view, "cmdLoadFromDisk");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("Line 2"), std::string::npos);
    EXPECT_TRUE(checked(view, "optDIOInput", 15)) << "a refused file changes nothing";
}

// A typed range that is no number, 0 or a slip after the number is refused with a
// message and the last range kept; a unit after the number is kept as typed.
TEST_F(SetupWindowTest, ConfigurationRangeTypedRefusesWhatWouldReadAsZeroOrASlip) {
    QWidget& view = open("OptionsCardConfig_0", "frmConfig_0");
    auto& range = Find<QLineEdit>(view, "txtInputRange", 4);
    const struct {
        const char* typed;
        const char* kept;
        double stored;
    } rows[] = {{"abc", "10", 10},
                {"12.5 V", "12.5 V", 12.5},
                {"0", "12.5 V", 12.5},
                {"1 2.5 V", "12.5 V", 12.5},
                {"-5", "-5", -5}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        dialogs.messages.clear();
        testing::TypeInto(range, QString::fromLatin1(row.typed));
        EXPECT_EQ(range.text(), row.kept);
        click(view, "cmdSave_0");
        EXPECT_EQ(state().InputRange[4], row.stored);
        ASSERT_EQ(dialogs.messages.size(), std::string(row.typed) == row.kept ? 0u : 1u);
    }
    testing::TypeInto(range, QStringLiteral("abc"));
    EXPECT_EQ(dialogs.messages.back().text,
              "Input Range of Analog Input 4: \"abc\" is not accepted.\n"
              "Allowed: a number other than 0, a unit may follow.");
    EXPECT_EQ(dialogs.messages.back().title, "Card Configuration - Card 1");
}

// Both cards' windows open at once; each shows and calibrates only its own card.
TEST_F(SetupWindowTest, CalibrationWindowsOfBothCardsEachServeTheirOwnCard) {
    QWidget& card1 = open("OptionsCalibrate_0", "frmCalib_0");
    EXPECT_EQ(Find<QLabel>(card1, "lblCH", 7).text(), "CH7:");
    EXPECT_TRUE(checked(card1, "chkSel", 7));
    EXPECT_EQ(Find(card1, "shpZero", 7).accessibleDescription(), "black");
    EXPECT_TRUE(Find<QLabel>(card1, "Label1").text().contains("short B & B,"));
    EXPECT_EQ(Find<QTimer>(card1, "tmrUpdate").interval(), 1000);
    QWidget& card2 = open("OptionsCalibrate_1", "frmCalib_1");
    EXPECT_EQ(&open("OptionsCalibrate_0", "frmCalib_0"), &card1);
    EXPECT_EQ(card1.windowTitle(), "Calibration - Card 1");
    EXPECT_EQ(card2.windowTitle(), "Calibration - Card 2");
    state().RawCounts[0] = 20;
    state().RawCounts[8] = 12;
    state().RawCounts[9] = 400;
    state().AmbientTemp2 = 24.5f;
    state().AnalogFrame2 = std::string(61, '0');
    testing::Tick(card2);
    EXPECT_EQ(Find<QLabel>(card2, "lblData", 0).text(), "0.00");
    state().AnalogFrame2 = std::string(62, '0');
    testing::Tick(card2);
    testing::Tick(card1);
    EXPECT_EQ(Find<QLabel>(card2, "lblData", 1).text(), "400");
    EXPECT_EQ(Find<QLabel>(card2, "lblAmb").text(), "Ambient Temperature: 24.5 deg.C");
    EXPECT_EQ(Find<QLabel>(card1, "lblData", 0).text(), "20");
    EXPECT_EQ(Find<QLabel>(card1, "lblData", 1).text(), "0");

    for (int c = 2; c < kChannelsPerCard; ++c) {
        Find<QCheckBox>(card2, "chkSel", c).click();
    }
    dialogs.confirmAnswers = {true, true};
    click(card2, "cmdCalibrate10V_1");
    EXPECT_EQ(dialogs.questions.at(0).text, "Store the zero of CH0, CH1? Current counts: 12, 400.");
    EXPECT_EQ(state().CalZero10V[8], 12);
    EXPECT_EQ(state().CalZero10V[9], 0);
    EXPECT_EQ(state().CalZero10V[0], 0) << "card 1 is not calibrated";
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "Analog Value too high");
    EXPECT_EQ(dialogs.messages[1].text, "Calibration value stored\nCH0: 0 \u2192 12");
    click(card1, "cmdCalibrate10V_1");
    EXPECT_EQ(state().CalZero10V[0], 20);
    EXPECT_EQ(state().CalZero10V[9], 0) << "card 2 is not calibrated";
    EXPECT_EQ(Find(card2, "shpZero", 1).accessibleDescription(), "black");
    Find<QCheckBox>(card2, "chkSel", 0).click();
    Find<QCheckBox>(card2, "chkSel", 1).click();
    click(card2, "cmdCalibrateRTD");
    EXPECT_EQ(dialogs.messages.size(), 3u) << "nothing ticked, nothing said";
    EXPECT_EQ(dialogs.questions.size(), 2u) << "nothing ticked, nothing asked";
}

// A step asks first and stores nothing when refused; Undo puts back the last
// step's values, lamps and saved file, and only that step's.
TEST_F(SetupWindowTest, CalibrationAsksBeforeStoringAndUndoesTheLastStep) {
    QWidget& view = open("OptionsCalibrate_0", "frmCalib_0");
    for (int c = 1; c < kChannelsPerCard; ++c) {
        Find<QCheckBox>(view, "chkSel", c).click();
    }
    auto& undo = Find<QPushButton>(view, "cmdUndo");
    state().RawCounts[0] = 12;
    click(view, "cmdCalibrate10V_1");
    EXPECT_EQ(dialogs.questions.at(0).proceedCaption, "Store");
    EXPECT_EQ(state().CalZero10V[0], 0) << "a refused question stores nothing";
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(undo.isEnabled());

    dialogs.confirmAnswers = {true, true};
    click(view, "cmdCalibrate10V_1");
    state().RawCounts[0] = 13100;
    click(view, "cmdCalibrateRTD");
    EXPECT_EQ(dialogs.questions.back().text, "Store the RTD point of CH0? Current counts: 13100.");
    EXPECT_EQ(state().CalRTD[0], 13100);
    undo.click();
    EXPECT_EQ(state().CalRTD[0], 13000);
    EXPECT_EQ(state().CalZero10V[0], 12) << "only the last step is undone";
    EXPECT_EQ(Find(view, "shpSpan", 0).accessibleDescription(), "black");
    EXPECT_EQ(Find(view, "shpZero", 0).accessibleDescription(), "blue");
    EXPECT_EQ(dialogs.messages.back().text, "Calibration value restored\nCH0: 13100 \u2192 13000");
    EXPECT_FALSE(undo.isEnabled());
    EXPECT_EQ(startFolderFile("vtrlo.con"), ChannelSettingsText(state()));
}

// Every channel ticked at the same count, so a refused count gives eight boxes.
// Refusals come first: a lamp shows what was taken since the window opened.
TEST_F(SetupWindowTest, CalibrationButtonsKeepOnlyPlausibleCounts) {
    using S = AcquisitionState;
    const char* high = "Analog Value too high";
    const char* low = "Analog Value too low";
    const struct {
        const char* button;
        std::int16_t count;
        CalibrationStep::Table table;
        const char* lamp;
        const char* colour;
        const char* refusal;
    } rows[] = {{"cmdCalibrate10V_1", 151, &S::CalZero10V, "shpZero", "black", high},
                {"cmdCalibrate200mV_1", 151, &S::CalZero200mV, "shpZero", "black", high},
                {"cmdCalibrate10V_0", 25999, &S::CalSpan10V, "shpSpan", "black", low},
                {"cmdCalibrate200mV_0", 22999, &S::CalSpan200mV, "shpSpan", "black", low},
                {"cmdCalibrate10V_1", -32768, &S::CalZero10V, "shpZero", "blue", nullptr},
                {"cmdCalibrate10V_1", 150, &S::CalZero10V, "shpZero", "blue", nullptr},
                {"cmdCalibrate10V_0", 26000, &S::CalSpan10V, "shpSpan", "blue", nullptr},
                {"cmdCalibrate200mV_1", 150, &S::CalZero200mV, "shpZero", "green", nullptr},
                {"cmdCalibrate200mV_0", 23000, &S::CalSpan200mV, "shpSpan", "green", nullptr},
                {"cmdCalibrateRTD", -5, &S::CalRTD, "shpSpan", "red", nullptr}};
    QWidget& view = open("OptionsCalibrate_0", "frmCalib_0");
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.button) + " " + std::to_string(row.count));
        state().RawCounts.fill(row.count);
        const std::int16_t before = (state().*row.table)[7];
        dialogs.messages.clear();
        dialogs.confirmAnswers = {true};
        click(view, row.button);
        EXPECT_EQ((state().*row.table)[7], row.refusal ? before : row.count);
        EXPECT_EQ(Find(view, row.lamp, 7).accessibleDescription(), row.colour);
        ASSERT_EQ(dialogs.messages.size(), row.refusal ? 8u : 1u);
        const std::string first =
            dialogs.messages[0].text.substr(0, dialogs.messages[0].text.find('\n'));
        EXPECT_EQ(first, row.refusal ? row.refusal : "Calibration value stored");
        EXPECT_EQ(dialogs.messages[0].title, "Calibration");
        EXPECT_EQ(dialogs.messages[0].icon,
                  row.refusal ? MessageIcon::Critical : MessageIcon::Information);
    }
}

TEST_F(SetupWindowTest, CalibrationExportAndImportCarryCardOnesValues) {
    state().CalZero10V[0] = -15;
    state().CalSpan200mV[7] = 32767;
    QWidget& view = open("OptionsCalibrate_1", "frmCalib_1");
    dialogs.saveAnswers = {files.file("calib"), files.file("no-such-folder/calib")};
    click(view, "cmdExport");
    EXPECT_EQ(dialogs.saveRequests.at(0).filter, "");
    EXPECT_EQ(dialogs.saveRequests.at(0).defaultExtension, "");
    // The file's layout is CalibrationFile's; reading it back shows what went in.
    state().CalZero10V[0] = 1;
    state().CalSpan200mV[7] = 2;
    state().CalRTD[10] = 3;
    files.write("other", "\"vantrel 16ch ver.1.0 calib file\"\r\n");
    dialogs.openAnswers = {files.file("calib"), files.file("other")};
    click(view, "cmdImport");
    EXPECT_EQ(state().CalZero10V[0], -15);
    EXPECT_EQ(state().CalSpan200mV[7], 32767);
    EXPECT_EQ(state().CalRTD[10], 3) << "card 2 is neither written nor read";
    click(view, "cmdImport");
    click(view, "cmdExport");
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[0].text, "Calibration File inported successfully.");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(dialogs.messages[1].text, "Incompatible Calibration File!");
    EXPECT_EQ(dialogs.messages[1].title, "File Import");
    EXPECT_EQ(dialogs.messages[1].icon, MessageIcon::Critical);
    EXPECT_EQ(dialogs.messages[2].icon, MessageIcon::Critical) << "a failed export is reported";
}

}  // namespace
}  // namespace vantrel
