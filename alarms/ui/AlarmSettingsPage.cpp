#include "alarms/ui/AlarmSettingsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "alarms/RuleText.h"
#include "platform/qt/CheckedEntry.h"
#include "platform/qt/ControlNames.h"
#include "platform/qt/ScrollingPage.h"

namespace vantrel {

namespace {

using alarms::Condition;
using alarms::RuleField;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

// Refuses a text that is not a number of the range as soon as the user leaves it;
// caption names the field as its label does.
QLineEdit* NumberEdit(QWidget* parent, const char* name, const QString& caption,
                      const AllowedRange& range, platform::Dialogs& dialogs) {
    auto* edit = named(new QLineEdit(parent), QString::fromLatin1(name), caption);
    CheckedEntry::Guard(edit, caption, range, dialogs);
    return edit;
}

// The rule reads numbers with a period, as files keep them; the field may hold
// the user's decimal mark.
std::string NumberText(const QLineEdit* edit) {
    const CheckedNumber number =
        CheckNumber(edit->text().toStdString(), ScreenDecimalMark(), {}, AllowedRange{});
    return number.accepted ? number.fileText : Text(edit);
}

constexpr AllowedRange kAnyNumber{};
constexpr AllowedRange kNotNegative{.min = 0.0};
constexpr AllowedRange kDelay{.min = 0.0, .max = alarms::kLongestDelaySeconds};

// Lines D0..D31; typing another name is allowed and checked on Add and Change.
QComboBox* LineBox(QWidget* parent, const char* name, const QString& accessibleName) {
    auto* box = named(new QComboBox(parent), QString::fromLatin1(name), accessibleName);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (int line = 0; line < kUsedLines; ++line) {
        box->addItem(Text(alarms::LineName(line)));
    }
    return box;
}

QLabel* Buddy(const QString& text, QWidget* field) {
    auto* label = new QLabel(text, field->parentWidget());
    label->setBuddy(field);
    return label;
}

constexpr int kColumns = static_cast<int>(alarms::kFaultChecks);

}  // namespace

AlarmSettingsPage::AlarmSettingsPage(platform::Dialogs& dialogs, std::uint32_t outputLines,
                                     const derived::DerivedSettings& derived, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), outputLines_(outputLines) {
    setObjectName(QStringLiteral("AlarmSettingsPage"));
    QWidget* page = platform::AddScrollingPage(this);

    // Made in the order Tab goes through them.
    lstAlarmRules = named(new QListWidget(page), QStringLiteral("lstAlarmRules"), tr("Rules"));
    cmdAlarmAdd =
        named(new QPushButton(tr("&Add"), page), QStringLiteral("cmdAlarmAdd"), tr("Add"));
    cmdAlarmChange =
        named(new QPushButton(tr("C&hange"), page), QStringLiteral("cmdAlarmChange"), tr("Change"));
    cmdAlarmRemove =
        named(new QPushButton(tr("Re&move"), page), QStringLiteral("cmdAlarmRemove"), tr("Remove"));

    auto* rule =
        named(new QGroupBox(tr("Rule"), page), QStringLiteral("FrameAlarmRule"), tr("Rule"));
    cmbAlarmInput = named(new QComboBox(rule), QStringLiteral("cmbAlarmInput"), tr("Input"));
    cmbAlarmInput->setEditable(true);
    cmbAlarmInput->setInsertPolicy(QComboBox::NoInsert);
    for (int slot = 0; slot < kUsedChannels; ++slot) {
        cmbAlarmInput->addItem(Text(alarms::ChannelName(slot)));
    }
    for (const derived::DerivedChannel& channel : derived.channels) {
        cmbAlarmInput->addItem(Text(channel.name));
    }
    for (int line = 0; line < kUsedLines; ++line) {
        cmbAlarmInput->addItem(Text(alarms::LineName(line)));
    }
    cmbAlarmCondition =
        named(new QComboBox(rule), QStringLiteral("cmbAlarmCondition"), tr("Condition"));
    cmbAlarmCondition->addItems({tr("above"), tr("below"), tr("outside"), tr("inside"), tr("on"),
                                 tr("off"), tr("changes")});
    txtAlarmLevel = NumberEdit(rule, "txtAlarmLevel", tr("Level"), kAnyNumber, dialogs);
    txtAlarmLow = NumberEdit(rule, "txtAlarmLow", tr("Low end"), kAnyNumber, dialogs);
    txtAlarmHigh = NumberEdit(rule, "txtAlarmHigh", tr("High end"), kAnyNumber, dialogs);
    cmbAlarmSeverity =
        named(new QComboBox(rule), QStringLiteral("cmbAlarmSeverity"), tr("Severity"));
    cmbAlarmSeverity->addItems({tr("warning"), tr("critical")});
    txtAlarmHysteresis =
        NumberEdit(rule, "txtAlarmHysteresis", tr("Hysteresis"), kNotNegative, dialogs);
    txtAlarmOnDelay = NumberEdit(rule, "txtAlarmOnDelay", tr("On-delay"), kDelay, dialogs);
    txtAlarmOffDelay = NumberEdit(rule, "txtAlarmOffDelay", tr("Off-delay"), kDelay, dialogs);
    chkAlarmLatching =
        named(new QCheckBox(tr("La&tching: stays raised until acknowledged"), rule),
              QStringLiteral("chkAlarmLatching"), tr("Latching: stays raised until acknowledged"));
    cmbAlarmOutput = named(new QComboBox(rule), QStringLiteral("cmbAlarmOutput"), tr("Output"));
    cmbAlarmOutput->addItems({tr("none"), tr("set a line"), tr("clear a line")});
    cmbAlarmOutputLine = LineBox(rule, "cmbAlarmOutputLine", tr("Output line"));
    chkAlarmBeep =
        named(new QCheckBox(tr("&Beep"), rule), QStringLiteral("chkAlarmBeep"), tr("Beep"));
    chkAlarmNotify = named(new QCheckBox(tr("N&otify the desktop"), rule),
                           QStringLiteral("chkAlarmNotify"), tr("Notify the desktop"));

    tblAlarmFaults = named(new QTableWidget(kUsedChannels, kColumns, page),
                           QStringLiteral("tblAlarmFaults"), tr("Built-in faults watched"));
    tblAlarmFaults->setHorizontalHeaderLabels(
        {tr("Loop"), tr("Sensor"), tr("Conversion"), tr("Link")});
    QStringList channels;
    for (int slot = 0; slot < kUsedChannels; ++slot) {
        channels << Text(alarms::ChannelName(slot));
        for (int column = 0; column < kColumns; ++column) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            tblAlarmFaults->setItem(slot, column, item);
        }
    }
    tblAlarmFaults->setVerticalHeaderLabels(channels);
    tblAlarmFaults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblAlarmFaults->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    auto* form = new QFormLayout(rule);
    form->addRow(Buddy(tr("&Input:"), cmbAlarmInput), cmbAlarmInput);
    form->addRow(Buddy(tr("&Condition:"), cmbAlarmCondition), cmbAlarmCondition);
    form->addRow(Buddy(tr("&Level:"), txtAlarmLevel), txtAlarmLevel);
    form->addRow(Buddy(tr("Low &end:"), txtAlarmLow), txtAlarmLow);
    form->addRow(Buddy(tr("Hi&gh end:"), txtAlarmHigh), txtAlarmHigh);
    form->addRow(Buddy(tr("Se&verity:"), cmbAlarmSeverity), cmbAlarmSeverity);
    form->addRow(Buddy(tr("H&ysteresis:"), txtAlarmHysteresis), txtAlarmHysteresis);
    form->addRow(Buddy(tr("On-&delay (s):"), txtAlarmOnDelay), txtAlarmOnDelay);
    form->addRow(Buddy(tr("O&ff-delay (s):"), txtAlarmOffDelay), txtAlarmOffDelay);
    form->addRow(QString(), chkAlarmLatching);
    form->addRow(Buddy(tr("O&utput:"), cmbAlarmOutput), cmbAlarmOutput);
    form->addRow(Buddy(tr("Output li&ne:"), cmbAlarmOutputLine), cmbAlarmOutputLine);
    form->addRow(QString(), chkAlarmBeep);
    form->addRow(QString(), chkAlarmNotify);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAlarmAdd);
    buttons->addWidget(cmdAlarmChange);
    buttons->addWidget(cmdAlarmRemove);
    buttons->addStretch();
    auto* rules = new QVBoxLayout;
    rules->addWidget(Buddy(tr("&Rules:"), lstAlarmRules));
    rules->addWidget(lstAlarmRules, 1);
    rules->addLayout(buttons);
    rules->addWidget(rule);
    auto* faults = new QVBoxLayout;
    faults->addWidget(Buddy(tr("Built-in faults &watched:"), tblAlarmFaults));
    faults->addWidget(tblAlarmFaults, 1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(rules, 3);
    layout->addLayout(faults, 2);

    connect(cmdAlarmAdd, &QPushButton::clicked, this, &AlarmSettingsPage::cmdAlarmAdd_Click);
    connect(cmdAlarmChange, &QPushButton::clicked, this, &AlarmSettingsPage::cmdAlarmChange_Click);
    connect(cmdAlarmRemove, &QPushButton::clicked, this, &AlarmSettingsPage::cmdAlarmRemove_Click);
    connect(lstAlarmRules, &QListWidget::currentRowChanged, this, &AlarmSettingsPage::ruleChosen);
    connect(cmbAlarmCondition, &QComboBox::currentIndexChanged, this, [this] { enableFields(); });
    connect(cmbAlarmOutput, &QComboBox::currentIndexChanged, this, [this] { enableFields(); });
    load({});
}

void AlarmSettingsPage::load(const alarms::AlarmSettings& settings) {
    rules_ = settings.rules;
    showRules(-1);
    showFields({});
    for (int column = 0; column < kColumns; ++column) {
        const std::uint16_t off = settings.faultsOff[static_cast<std::size_t>(column)];
        for (int slot = 0; slot < kUsedChannels; ++slot) {
            tblAlarmFaults->item(slot, column)
                ->setCheckState(((off >> slot) & 1u) != 0 ? Qt::Unchecked : Qt::Checked);
        }
    }
}

alarms::AlarmSettings AlarmSettingsPage::settings() const {
    alarms::AlarmSettings settings;
    settings.rules = rules_;
    for (int column = 0; column < kColumns; ++column) {
        std::uint16_t off = 0;
        for (int slot = 0; slot < kUsedChannels; ++slot) {
            if (tblAlarmFaults->item(slot, column)->checkState() != Qt::Checked) {
                off = static_cast<std::uint16_t>(off | (1u << slot));
            }
        }
        settings.faultsOff[static_cast<std::size_t>(column)] = off;
    }
    return settings;
}

void AlarmSettingsPage::cmdAlarmAdd_Click() {
    if (rules_.size() >= alarms::kMaxRules) {
        refuse(alarms::TooManyRulesMessage(), lstAlarmRules);
        return;
    }
    if (const std::optional<alarms::AlarmRule> rule = fieldsRule()) {
        rules_.push_back(*rule);
        showRules(static_cast<int>(rules_.size()) - 1);
    }
}

void AlarmSettingsPage::cmdAlarmChange_Click() {
    const int row = lstAlarmRules->currentRow();
    if (row < 0) {
        return;
    }
    if (const std::optional<alarms::AlarmRule> rule = fieldsRule()) {
        rules_[static_cast<std::size_t>(row)] = *rule;
        showRules(row);
    }
}

void AlarmSettingsPage::cmdAlarmRemove_Click() {
    const int row = lstAlarmRules->currentRow();
    if (row < 0) {
        return;
    }
    rules_.erase(rules_.begin() + row);
    showRules(std::min(row, static_cast<int>(rules_.size()) - 1));
}

void AlarmSettingsPage::showFields(const alarms::RuleFields& fields) {
    cmbAlarmInput->setCurrentText(Text(fields.input));
    cmbAlarmCondition->setCurrentIndex(static_cast<int>(fields.condition));
    txtAlarmLevel->setText(Text(fields.limit));
    txtAlarmLow->setText(Text(fields.low));
    txtAlarmHigh->setText(Text(fields.high));
    cmbAlarmSeverity->setCurrentIndex(static_cast<int>(fields.level));
    txtAlarmHysteresis->setText(Text(fields.hysteresis));
    txtAlarmOnDelay->setText(Text(fields.onDelay));
    txtAlarmOffDelay->setText(Text(fields.offDelay));
    chkAlarmLatching->setChecked(fields.latching);
    cmbAlarmOutput->setCurrentIndex(static_cast<int>(fields.output));
    cmbAlarmOutputLine->setCurrentText(Text(fields.outputLine));
    chkAlarmBeep->setChecked(fields.beep);
    chkAlarmNotify->setChecked(fields.notify);
    enableFields();
}

alarms::RuleFields AlarmSettingsPage::fields() const {
    alarms::RuleFields fields;
    fields.input = cmbAlarmInput->currentText().toStdString();
    fields.condition = static_cast<Condition>(cmbAlarmCondition->currentIndex());
    fields.limit = NumberText(txtAlarmLevel);
    fields.low = NumberText(txtAlarmLow);
    fields.high = NumberText(txtAlarmHigh);
    fields.level = static_cast<alarms::AlarmLevel>(cmbAlarmSeverity->currentIndex());
    fields.hysteresis = NumberText(txtAlarmHysteresis);
    fields.onDelay = NumberText(txtAlarmOnDelay);
    fields.offDelay = NumberText(txtAlarmOffDelay);
    fields.latching = chkAlarmLatching->isChecked();
    fields.output = static_cast<alarms::OutputChoice>(cmbAlarmOutput->currentIndex());
    fields.outputLine = cmbAlarmOutputLine->currentText().toStdString();
    fields.beep = chkAlarmBeep->isChecked();
    fields.notify = chkAlarmNotify->isChecked();
    return fields;
}

std::optional<alarms::AlarmRule> AlarmSettingsPage::fieldsRule() {
    // A field still being typed in when the button is pressed from the keyboard.
    if (!CheckEntries(*this)) {
        return std::nullopt;
    }
    auto made = alarms::RuleOf(fields(), outputLines_);
    if (const auto* problem = std::get_if<alarms::FieldProblem>(&made)) {
        refuse(problem->message, fieldWidget(problem->field));
        return std::nullopt;
    }
    return std::get<alarms::AlarmRule>(made);
}

void AlarmSettingsPage::showRules(int current) {
    const QSignalBlocker quiet(lstAlarmRules);
    lstAlarmRules->clear();
    for (const alarms::AlarmRule& rule : rules_) {
        lstAlarmRules->addItem(Text(alarms::RuleText(rule)));
    }
    lstAlarmRules->setCurrentRow(current);
    // The fields show the rule chosen now, which Change would replace.
    ruleChosen(current);
}

void AlarmSettingsPage::ruleChosen(int row) {
    cmdAlarmChange->setEnabled(row >= 0);
    cmdAlarmRemove->setEnabled(row >= 0);
    if (row >= 0) {
        showFields(alarms::FieldsOf(rules_[static_cast<std::size_t>(row)]));
    }
}

void AlarmSettingsPage::enableFields() {
    const auto condition = static_cast<Condition>(cmbAlarmCondition->currentIndex());
    const bool band = condition == Condition::Outside || condition == Condition::Inside;
    txtAlarmLevel->setEnabled(condition == Condition::Above || condition == Condition::Below);
    txtAlarmLow->setEnabled(band);
    txtAlarmHigh->setEnabled(band);
    txtAlarmHysteresis->setEnabled(!alarms::IsLineCondition(condition));
    cmbAlarmOutputLine->setEnabled(cmbAlarmOutput->currentIndex() !=
                                   static_cast<int>(alarms::OutputChoice::None));
}

QWidget* AlarmSettingsPage::fieldWidget(RuleField field) const {
    switch (field) {
        case RuleField::Input:
            return cmbAlarmInput;
        case RuleField::Condition:
            return cmbAlarmCondition;
        case RuleField::Limit:
            return txtAlarmLevel;
        case RuleField::Low:
            return txtAlarmLow;
        case RuleField::High:
            return txtAlarmHigh;
        case RuleField::Hysteresis:
            return txtAlarmHysteresis;
        case RuleField::OnDelay:
            return txtAlarmOnDelay;
        case RuleField::OffDelay:
            return txtAlarmOffDelay;
        case RuleField::OutputLine:
            return cmbAlarmOutputLine;
    }
    return cmbAlarmInput;
}

void AlarmSettingsPage::refuse(const std::string& message, QWidget* field) {
    dialogs_.showMessage({message, "Settings", platform::MessageIcon::Warning});
    field->setFocus(Qt::OtherFocusReason);
}

}  // namespace vantrel
