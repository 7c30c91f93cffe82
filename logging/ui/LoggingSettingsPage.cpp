#include "logging/ui/LoggingSettingsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QSpinBox>
#include <limits>

#include "platform/qt/CheckedEntry.h"
#include "platform/qt/ControlNames.h"

namespace vantrel {

namespace {

int ClampedInt(std::int64_t value) {
    return static_cast<int>(std::min<std::int64_t>(value, std::numeric_limits<int>::max()));
}

// The key's range, as far as a spin box reaches; caption names it in a refusal.
QSpinBox* NumberBox(QWidget* parent, const char* name, const QString& caption, const ini::Key& key,
                    const QString& suffix, platform::Dialogs& dialogs) {
    auto* box =
        named(new CheckedSpinBox(parent, caption, dialogs), QString::fromLatin1(name), caption);
    box->setRange(ClampedInt(key.lowest), ClampedInt(key.highest));
    box->setSuffix(suffix);
    return box;
}

// One item per word of the key, in the words' order.
QComboBox* WordBox(QWidget* parent, const char* name, const ini::Key& key,
                   const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    Q_ASSERT(static_cast<std::size_t>(items.size()) == key.wordCount);
    box->addItems(items);
    return box;
}

constexpr std::string_view kSection = ini::kLoggingSection;

}  // namespace

LoggingSettingsPage::LoggingSettingsPage(platform::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("LoggingSettingsPage"));
    cmbLogSplit = WordBox(this, "cmbLogSplit", ini::KeyOf(kSection, "split"),
                          {tr("One file"), tr("A new file each day"), tr("A new file at a size")});
    spnLogSplitSize = NumberBox(this, "spnLogSplitSize", tr("Split size"),
                                ini::KeyOf(kSection, "split_size_kb"), tr(" KiB"), dialogs);
    cmbLogSync =
        WordBox(this, "cmbLogSync", ini::KeyOf(kSection, "sync"),
                {tr("Every record"), tr("At most every interval"), tr("Left to the system")});
    spnLogSyncInterval = NumberBox(this, "spnLogSyncInterval", tr("Disk interval"),
                                   ini::KeyOf(kSection, "sync_interval_s"), tr(" s"), dialogs);
    chkLogResume = new QCheckBox(tr("&Resume logging after a restart"), this);
    chkLogResume->setObjectName(QStringLiteral("chkLogResume"));
    spnLogLowSpace = NumberBox(this, "spnLogLowSpace", tr("Warn below free space"),
                               ini::KeyOf(kSection, "low_space_mb"), tr(" MB"), dialogs);
    spnLogLowSpace->setSpecialValueText(tr("Never"));
    cmbLogStatistics =
        WordBox(this, "cmbLogStatistics", ini::KeyOf(kSection, "statistics"),
                {tr("Last value"), tr("Mean of the interval"), tr("Minimum, maximum and mean")});
    cmbLogDecimal = WordBox(this, "cmbLogDecimal", ini::KeyOf(kSection, "decimal"),
                            {tr("Point (1.5)"), tr("Comma (1,5)")});
    cmbLogSeparator = WordBox(this, "cmbLogSeparator", ini::KeyOf(kSection, "separator"),
                              {tr("As in File > Save"), tr("Comma"), tr("Semicolon"), tr("Tab"),
                               tr("Space"), tr("Four spaces")});
    chkLogHeaderUnits = new QCheckBox(tr("Name the &units in the header"), this);
    chkLogHeaderUnits->setObjectName(QStringLiteral("chkLogHeaderUnits"));

    auto* form = new QFormLayout(this);
    form->addRow(tr("&Split the log:"), cmbLogSplit);
    form->addRow(tr("Split &size:"), spnLogSplitSize);
    form->addRow(tr("&Write to disk:"), cmbLogSync);
    form->addRow(tr("Disk &interval:"), spnLogSyncInterval);
    form->addRow(QString(), chkLogResume);
    form->addRow(tr("Warn below &free space:"), spnLogLowSpace);
    form->addRow(tr("&Values per record:"), cmbLogStatistics);
    form->addRow(tr("&Decimal mark:"), cmbLogDecimal);
    form->addRow(tr("Column se&parator:"), cmbLogSeparator);
    form->addRow(QString(), chkLogHeaderUnits);
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
    cmbLogStatistics->setCurrentIndex(static_cast<int>(preferences.statistics));
    cmbLogDecimal->setCurrentIndex(static_cast<int>(preferences.decimal));
    cmbLogSeparator->setCurrentIndex(static_cast<int>(preferences.separator));
    chkLogHeaderUnits->setChecked(preferences.headerUnits);
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
    preferences.statistics = static_cast<LogStatistics>(cmbLogStatistics->currentIndex());
    preferences.decimal = static_cast<LogDecimal>(cmbLogDecimal->currentIndex());
    preferences.separator = static_cast<LogSeparator>(cmbLogSeparator->currentIndex());
    preferences.headerUnits = chkLogHeaderUnits->isChecked();
    return preferences;
}

void LoggingSettingsPage::enableNumbers() {
    spnLogSplitSize->setEnabled(cmbLogSplit->currentIndex() == static_cast<int>(LogSplit::Size));
    spnLogSyncInterval->setEnabled(cmbLogSync->currentIndex() ==
                                   static_cast<int>(LogSync::Interval));
}

}  // namespace vantrel
