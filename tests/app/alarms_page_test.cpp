// Guards the Alarms page of Options > Settings and [alarms] in vantrel.ini: a field
// that does not hold let through or refused with a message naming another field,
// a typed number refused without its previous text back or read without the
// user's decimal comma,
// a 65th rule, an alarm switching a line that is an input, Change or Remove
// reaching the wrong rule, a fault check switched off for the wrong channel or
// check, OK not reaching the run, and a removed rule read back from the file.
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <functional>

#include "alarms/ui/AlarmSettingsPage.h"
#include "app/PreferencesFile.h"
#include "tests/app/MainWindowFixture.h"

namespace vantrel::testing {
namespace {

// Lines D4 and D20 are outputs, one of each card.
constexpr std::uint32_t kOutputs = (1u << 4) | (1u << 20);

void Type(QWidget& page, const char* field, const char* text) {
    if (auto* box = qobject_cast<QComboBox*>(&Find(page, field))) {
        box->setCurrentText(text);
    } else {
        TypeInto(Find(page, field), text);
    }
}

void Choose(QWidget& page, const char* box, int item) {
    Find<QComboBox>(page, box).setCurrentIndex(item);
}

QStringList Rules(QWidget& page) {
    QStringList texts;
    const auto& list = Find<QListWidget>(page, "lstAlarmRules");
    for (int row = 0; row < list.count(); ++row) {
        texts << list.item(row)->text();
    }
    return texts;
}

TEST(AlarmsPage, RefusesTheFieldThatDoesNotHoldAndAddsNothing) {
    const struct {
        std::function<void(QWidget&)> fill;  // on a fresh page: CH0 above, all else default
        const char* message;
    } cases[] = {
        // A number slip is refused as the user leaves the field, before Add.
        {[](QWidget& p) { Type(p, "txtAlarmLevel", "8O"); },
         "Level: \"8O\" is not accepted.\nAllowed: a number."},
        {[](QWidget& p) { Type(p, "txtAlarmHysteresis", "-1"); },
         "Hysteresis: \"-1\" is not accepted.\nAllowed: a number of at least 0."},
        {[](QWidget& p) { Type(p, "txtAlarmOnDelay", "-0.5"); },
         "On-delay: \"-0.5\" is not accepted.\nAllowed: a number from 0 to 86400."},
        {[](QWidget& p) { Type(p, "txtAlarmOffDelay", "86401"); },
         "Off-delay: \"86401\" is not accepted.\nAllowed: a number from 0 to 86400."},
        {[](QWidget&) {}, "Level: a number is needed."},
        {[](QWidget& p) {
             Choose(p, "cmbAlarmCondition", 2), Type(p, "txtAlarmLow", "20"),
                 Type(p, "txtAlarmHigh", "4");
         },
         "Low end: 20 is above the high end 4."},
        {[](QWidget& p) {
             Choose(p, "cmbAlarmCondition", 2), Type(p, "txtAlarmLow", "0"),
                 Type(p, "txtAlarmHigh", "4"), Type(p, "txtAlarmHysteresis", "2.5");
         },
         "Hysteresis: 2.5 is more than half the band."},
        {[](QWidget& p) { Type(p, "cmbAlarmInput", "CH16"); },
         "Input: there is no channel CH16; channels are CH0 to CH15."},
        {[](QWidget& p) { Type(p, "cmbAlarmInput", "d32"), Choose(p, "cmbAlarmCondition", 4); },
         "Input: there is no line D32; lines are D0 to D31."},
        {[](QWidget& p) { Type(p, "cmbAlarmInput", "Ch 3"); },
         "Input: \"Ch 3\" is neither a channel (CH0 to CH15), a line (D0 to D31) nor a derived "
         "channel's name."},
        {[](QWidget& p) { Type(p, "cmbAlarmInput", "D3"); },
         "Condition: D3 is a line: on, off or changes."},
        {[](QWidget& p) { Choose(p, "cmbAlarmCondition", 6); },
         "Condition: CH0 is a channel: above, below, outside or inside."},
        {[](QWidget& p) {
             Type(p, "txtAlarmLevel", "1"), Choose(p, "cmbAlarmOutput", 1),
                 Type(p, "cmbAlarmOutputLine", "D5");
         },
         "Output line: D5 is set up as an input."},
        {[](QWidget& p) {
             Type(p, "txtAlarmLevel", "1"), Choose(p, "cmbAlarmOutput", 2),
                 Type(p, "cmbAlarmOutputLine", "D32");
         },
         "Output line: there is no line D32; lines are D0 to D31."},
    };
    for (const auto& c : cases) {
        FakeDialogs dialogs;
        AlarmSettingsPage page(dialogs, kOutputs);
        c.fill(page);
        if (dialogs.messages.empty()) {
            Find<QPushButton>(page, "cmdAlarmAdd").click();
        }
        ASSERT_EQ(dialogs.messages.size(), 1u) << c.message;
        EXPECT_EQ(dialogs.messages[0].text, c.message);
        EXPECT_TRUE(page.settings().rules.empty()) << c.message;
    }
}

TEST(AlarmsPage, AddChangeRemoveReachTheChosenRuleUpToSixtyFour) {
    FakeDialogs dialogs;
    derived::DerivedSettings derived;
    derived.channels.push_back({"dT", "K", 1, "ch1 - ch0", false});
    AlarmSettingsPage page(dialogs, kOutputs, derived);
    // The derived channels are offered after the channels.
    auto& input = Find<QComboBox>(page, "cmbAlarmInput");
    EXPECT_EQ(input.itemText(15) + input.itemText(16) + input.itemText(17), "CH15dTD0");
    alarms::AlarmSettings settings;
    settings.off(alarms::FaultCheck::Sensor) = 1u << 15;
    page.load(settings);
    auto& faults = Find<QTableWidget>(page, "tblAlarmFaults");
    EXPECT_EQ(faults.item(15, 1)->checkState(), Qt::Unchecked);
    EXPECT_EQ(faults.item(14, 1)->checkState(), Qt::Checked);
    faults.item(3, 3)->setCheckState(Qt::Unchecked);  // CH3's link

    Type(page, "cmbAlarmInput", "CH3");
    Type(page, "txtAlarmLevel", "80");
    Choose(page, "cmbAlarmSeverity", 1);
    Choose(page, "cmbAlarmOutput", 1);
    Type(page, "cmbAlarmOutputLine", "D20");
    Find<QPushButton>(page, "cmdAlarmAdd").click();
    Type(page, "cmbAlarmInput", "D17");
    Choose(page, "cmbAlarmCondition", 5);
    Choose(page, "cmbAlarmOutput", 0);
    Type(page, "txtAlarmOnDelay", "2");
    Find<QPushButton>(page, "cmdAlarmAdd").click();
    EXPECT_EQ(Rules(page),
              QStringList({"CH3 above 80 critical set D20", "D17 off critical on-delay 2"}));

    Find<QListWidget>(page, "lstAlarmRules").setCurrentRow(0);
    EXPECT_EQ(Find<QLineEdit>(page, "txtAlarmLevel").text(), "80");
    // Typed with the decimal comma of the user's locale, kept with a period.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German));
    Type(page, "txtAlarmLevel", "85,5");
    Find<QPushButton>(page, "cmdAlarmChange").click();
    QLocale::setDefault(before);
    Find<QListWidget>(page, "lstAlarmRules").setCurrentRow(1);
    Find<QPushButton>(page, "cmdAlarmRemove").click();
    EXPECT_EQ(Rules(page), QStringList({"CH3 above 85.5 critical set D20"}));
    EXPECT_TRUE(dialogs.messages.empty());
    settings = page.settings();
    EXPECT_EQ(settings.off(alarms::FaultCheck::Link), 1u << 3);
    EXPECT_EQ(settings.off(alarms::FaultCheck::Sensor), 1u << 15);
    EXPECT_EQ(settings.off(alarms::FaultCheck::Loop), 0u);

    settings.rules.assign(alarms::kMaxRules - 1, settings.rules[0]);
    page.load(settings);
    Find<QListWidget>(page, "lstAlarmRules").setCurrentRow(0);
    Find<QPushButton>(page, "cmdAlarmAdd").click();
    EXPECT_EQ(page.settings().rules.size(), alarms::kMaxRules);
    Find<QPushButton>(page, "cmdAlarmAdd").click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "A list holds at most 64 rules; remove one before adding another.");
    EXPECT_EQ(page.settings().rules.size(), alarms::kMaxRules);
}

using AlarmsSettingsTest = MainWindowFixture;

// Card 1's CH0 reads 1234 counts, 0.39 V on its 10 V range.
const std::string kFrame = "+01234,+00000,+00000,+00000,+00000,+00000,+00000,+00000,+25.5\r";

TEST_F(AlarmsSettingsTest, OkAppliesTheRulesToTheRunAndTheFileKeepsNoRemovedRule) {
    QFile file(folder.filePath("vantrel.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[alarms]\nrule1=CH1 above 5\nrule2=CH2 below 1\nrule3=CH0 above 9 set D5\n");
    file.close();
    makeWindow();
    state().DigitalDirection[4] = kLineOutput;
    startProgram();
    ASSERT_EQ(run->events().evaluator().settings().rules.size(), 3u);
    modal = [](QDialog& dialog) {
        Find<QListWidget>(dialog, "lstPages").setCurrentRow(2);
        auto& rules = Find<QListWidget>(dialog, "lstAlarmRules");
        rules.setCurrentRow(0);
        Find<QPushButton>(dialog, "cmdAlarmRemove").click();
        rules.setCurrentRow(0);
        Find<QPushButton>(dialog, "cmdAlarmRemove").click();
        Find<QPushButton>(dialog, "cmdOK").click();  // D5 is an input
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        rules.setCurrentRow(0);
        Type(dialog, "txtAlarmLevel", "0.1");
        Type(dialog, "cmbAlarmOutputLine", "D4");
        Find<QPushButton>(dialog, "cmdAlarmChange").click();
        Type(dialog, "cmbAlarmInput", "CH1");
        Find<QPushButton>(dialog, "cmdAlarmAdd").click();
        Find<QPushButton>(dialog, "cmdOK").click();
    };
    choose("OptionsSettings");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Rule 1 (CH0 above 9 warning set D5): D5 is set up as an input, so the alarm "
              "cannot switch it.");
    const std::string stored = startFolderFile("vantrel.ini");
    EXPECT_NE(
        stored.find("rule1=CH0 above 0.1 warning set D4\nrule2=CH1 above 0.1 warning set D4\n"),
        std::string::npos)
        << stored;
    EXPECT_EQ(stored.find("rule3"), std::string::npos);
    EXPECT_EQ(LoadPreferences(state().AppDir).preferences.alarms,
              run->events().evaluator().settings());

    cm->receive(kFrame);
    QStringList raised;
    for (const alarms::ActiveAlarm& alarm : run->events().active()) {
        if (alarm.id.kind == alarms::AlarmKind::Rule) {
            raised << QString::fromStdString(alarm.text);
        }
    }
    EXPECT_EQ(raised, QStringList({"CH0 above 0.1"}));
}

}  // namespace
}  // namespace vantrel::testing
