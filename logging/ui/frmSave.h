#pragma once

// The save options window: the log file, the channel names used as column
// headers, the separator, the interval and the time stamp. OK stores the choices
// and starts logging afresh; Cancel stores nothing. Opened modal by File > Save.

#include <QDialog>
#include <array>
#include <memory>
#include <utility>

#include "engine/AcquisitionState.h"
#include "logging/LogFileSink.h"
#include "logging/LogFormat.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vantrel {

class frmSave : public QDialog {
    Q_OBJECT

  public:
    // sink: where the header line goes; real files when null. clock: the time that
    // names the copy of a log file's earlier records.
    frmSave(AcquisitionState& state, platform::Dialogs& dialogs, const platform::Clock& clock,
            QWidget* parent = nullptr, LogFileSink* sink = nullptr);
    ~frmSave() override;

    void Form_Load();
    void cmdSelect_Click();
    void cmdOK_Click();
    void cmdCancel_Click();

    QLineEdit* txtFile = nullptr;
    QPushButton* cmdSelect = nullptr;
    std::array<QLabel*, kUsedChannels> lblChannel{};
    std::array<QLineEdit*, kUsedChannels> txtChannel{};
    QRadioButton* optCSV = nullptr;
    QRadioButton* optTSV = nullptr;
    QRadioButton* optSSV = nullptr;
    QComboBox* cmbIntv = nullptr;
    QRadioButton* optSec = nullptr;
    QRadioButton* optMin = nullptr;
    QRadioButton* optHour = nullptr;
    QRadioButton* optNone = nullptr;
    QRadioButton* optT = nullptr;
    QRadioButton* optDT = nullptr;
    QRadioButton* optISO = nullptr;
    QRadioButton* optSN = nullptr;
    QCheckBox* chkHeaders = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

  private:
    QWidget* BuildFileGroup();
    QWidget* BuildChannelGroup();
    QWidget* BuildSeparatorGroup();
    QWidget* BuildIntervalGroup();
    QWidget* BuildStampGroup();

    // Each option of a group with the choice it stands for; OK takes the last one
    // when none is checked.
    template <typename Choice, std::size_t N>
    using Options = std::array<std::pair<QRadioButton*, Choice>, N>;
    Options<Delimiter, 3> SeparatorOptions() const;
    Options<IntervalUnit, 3> UnitOptions() const;
    Options<StampStyle, 5> StampOptions() const;

    AcquisitionState& state_;
    platform::Dialogs& dialogs_;
    const platform::Clock& clock_;
    std::unique_ptr<LogFileSink> ownSink_;
    LogFileSink* sink_;
};

}  // namespace vantrel
