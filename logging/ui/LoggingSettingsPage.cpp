#include "logging/ui/LoggingSettingsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>
#include <limits>

#include "platform/qt/ControlNames.h"

namespace vantrel {

namespace {

QSpinBox* NumberBox(QWidget* parent, const char* name, int lowest, const QString& suffix) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(lowest, std::numeric_limits<int>::max());
    box->setSuffix(suffix);
    return box;
}

int ClampedInt(std::int64_t value) {
    return static_cast<int>(std::min<std::int64_t>(value, std::numeric_limits<int>::max()));
}

}  // namespace

LoggingSettingsPage::LoggingSettingsPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LoggingSettingsPage"));
    cmbLogSplit = new QComboBox(this);
    cmbLogSplit->setObjectName(QStringLiteral("cmbLogSplit"));
    cmbLogSplit->addItems({tr("One file"), tr("A new file each day"), tr("A new file at a size")});
    spnLogSplitSize = NumberBox(this, "spnLogSplitSize", 1, tr(" KiB"));
    cmbLogSync = new QComboBox(this);
    cmbLogSync->setObjectName(QStringLiteral("cmbLogSync"));
    cmbLogSync->addItems(
        {tr("Every record"), tr("At most every interval"), tr("Left to the system")});
    spnLogSyncInterval = NumberBox(this, "spnLogSyncInterval", 1, tr(" s"));
    spnLogSyncInterval->setMaximum(86400);
    chkLogResume = new QCheckBox(tr("&Resume logging after a restart"), this);
    chkLogResume->setObjectName(QStringLiteral("chkLogResume"));
    spnLogLowSpace = NumberBox(this, "spnLogLowSpace", 0, tr(" MB"));
    spnLogLowSpace->setSpecialValueText(tr("Never"));

    auto* form = new QFormLayout(this);
    form->addRow(tr("&Split the log:"), cmbLogSplit);
    form->addRow(tr("Split &size:"), spnLogSplitSize);
    form->addRow(tr("&Write to disk:"), cmbLogSync);
    form->addRow(tr("Disk &interval:"), spnLogSyncInterval);
    form->addRow(QString(), chkLogResume);
    form->addRow(tr("Warn below &free space:"), spnLogLowSpace);
    connect(cmbLogSplit, &QComboBox::currentIndexChanged, this, [this] { enableNumbers(); });
    connect(cmbLogSync, &QComboBox::currentIndexChanged, this, [this] { enableNumbers(); });
    load({});
}

void LoggingSettingsPage::load(const LoggingPreferences& preferences) {
    cmbLogSplit->setCurrentIndex(static_cast<int>(preferences.split));
    spnLogSplitSize->setValue(ClampedInt(preferences.splitSizeKb));
    cmbLogSync->setCurrentIndex(static_cast<int>(preferences.sync));
    spnLogSyncInterval->setValue(ClampedInt(preferences.syncIntervalS));
    chkLogResume->setChecked(preferences.resume);
    spnLogLowSpace->setValue(ClampedInt(preferences.lowSpaceMb));
    enableNumbers();
}

LoggingPreferences LoggingSettingsPage::preferences() const {
    LoggingPreferences preferences;
    preferences.split = static_cast<LogSplit>(cmbLogSplit->currentIndex());
    preferences.splitSizeKb = spnLogSplitSize->value();
    preferences.sync = static_cast<LogSync>(cmbLogSync->currentIndex());
    preferences.syncIntervalS = spnLogSyncInterval->value();
    preferences.resume = chkLogResume->isChecked();
    preferences.lowSpaceMb = spnLogLowSpace->value();
    return preferences;
}

void LoggingSettingsPage::enableNumbers() {
    spnLogSplitSize->setEnabled(cmbLogSplit->currentIndex() == static_cast<int>(LogSplit::Size));
    spnLogSyncInterval->setEnabled(cmbLogSync->currentIndex() ==
                                   static_cast<int>(LogSync::Interval));
}

}  // namespace vantrel
