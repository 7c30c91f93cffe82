#pragma once

// The Logging page of Options > Settings: split files, how often records are
// forced onto the disk, resuming after a restart, the low disk space warning, what
// a record holds and how, and whether the header names units.

#include <QWidget>

#include "logging/LoggingPreferences.h"
#include "platform/Dialogs.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace vantrel {

class LoggingSettingsPage : public QWidget {
    Q_OBJECT

  public:
    // dialogs: where a number field's refusal is shown.
    explicit LoggingSettingsPage(platform::Dialogs& dialogs, QWidget* parent = nullptr);

    void load(const LoggingPreferences& preferences);
    LoggingPreferences preferences() const;

    QComboBox* cmbLogSplit = nullptr;
    QSpinBox* spnLogSplitSize = nullptr;
    QComboBox* cmbLogSync = nullptr;
    QSpinBox* spnLogSyncInterval = nullptr;
    QCheckBox* chkLogResume = nullptr;
    QSpinBox* spnLogLowSpace = nullptr;
    QComboBox* cmbLogStatistics = nullptr;
    QComboBox* cmbLogDecimal = nullptr;
    QComboBox* cmbLogSeparator = nullptr;
    QCheckBox* chkLogHeaderUnits = nullptr;

  private:
    // Each number only where its choice uses it.
    void enableNumbers();
};

}  // namespace vantrel
