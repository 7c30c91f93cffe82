#pragma once

// The Alarms page of Options > Settings: the list of rules, the fields of one
// rule to add as a new one or to put in place of the chosen one, and by channel
// which built-in faults are watched. A rule whose fields do not hold is refused
// with a message naming the field, which then has the focus.

#include <QWidget>
#include <cstdint>
#include <vector>

#include "alarms/AlarmRule.h"
#include "alarms/RuleFields.h"
#include "derived/DerivedChannel.h"
#include "platform/Dialogs.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace vantrel {

class AlarmSettingsPage : public QWidget {
    Q_OBJECT

  public:
    // outputLines: the lines an alarm may switch (alarms::OutputLines); the input
    // choice offers the derived channels after the channels.
    AlarmSettingsPage(platform::Dialogs& dialogs, std::uint32_t outputLines,
                      const derived::DerivedSettings& derived = {}, QWidget* parent = nullptr);

    void load(const alarms::AlarmSettings& settings);
    alarms::AlarmSettings settings() const;

    void cmdAlarmAdd_Click();
    void cmdAlarmChange_Click();
    void cmdAlarmRemove_Click();

    QListWidget* lstAlarmRules = nullptr;
    QPushButton* cmdAlarmAdd = nullptr;
    QPushButton* cmdAlarmChange = nullptr;
    QPushButton* cmdAlarmRemove = nullptr;
    // Editable: a channel or line may be typed as well as picked.
    QComboBox* cmbAlarmInput = nullptr;
    // In the order of alarms::Condition.
    QComboBox* cmbAlarmCondition = nullptr;
    QLineEdit* txtAlarmLevel = nullptr;
    QLineEdit* txtAlarmLow = nullptr;
    QLineEdit* txtAlarmHigh = nullptr;
    // Warning, critical.
    QComboBox* cmbAlarmSeverity = nullptr;
    QLineEdit* txtAlarmHysteresis = nullptr;
    QLineEdit* txtAlarmOnDelay = nullptr;
    QLineEdit* txtAlarmOffDelay = nullptr;
    QCheckBox* chkAlarmLatching = nullptr;
    // In the order of alarms::OutputChoice.
    QComboBox* cmbAlarmOutput = nullptr;
    QComboBox* cmbAlarmOutputLine = nullptr;
    QCheckBox* chkAlarmBeep = nullptr;
    QCheckBox* chkAlarmNotify = nullptr;
    // A row per channel, a column per fault check; checked: watched.
    QTableWidget* tblAlarmFaults = nullptr;

  private:
    void showFields(const alarms::RuleFields& fields);
    alarms::RuleFields fields() const;
    // The rule the fields make, or none after saying why.
    std::optional<alarms::AlarmRule> fieldsRule();
    void showRules(int current);
    void ruleChosen(int row);
    // Each field only where the condition and output use it.
    void enableFields();
    QWidget* fieldWidget(alarms::RuleField field) const;
    void refuse(const std::string& message, QWidget* field);

    platform::Dialogs& dialogs_;
    std::uint32_t outputLines_;
    std::vector<alarms::AlarmRule> rules_;
};

}  // namespace vantrel
