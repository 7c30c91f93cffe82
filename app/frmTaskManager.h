#pragma once

// "Task Manager": per analog channel whether it is plotted in the trend and saved
// to the log. Every channel is always scanned; the window shows that but does not
// let it change.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>

#include "engine/AcquisitionState.h"

namespace vantrel {

class frmTaskManager : public QWidget {
    Q_OBJECT

  public:
    explicit frmTaskManager(AcquisitionState& state, QWidget* parent = nullptr);

    void cmdOK_Click();
    void cmdCancel_Click();

    std::array<QGroupBox*, 2> Frame1{};
    std::array<QGroupBox*, kUsedChannels> FrameAT{};
    std::array<QCheckBox*, kUsedChannels> chkScan{};
    std::array<QCheckBox*, kUsedChannels> chkPlot{};
    std::array<QCheckBox*, kUsedChannels> chkSave{};
    // The name given in File > Save, beside the channel's number.
    std::array<QLabel*, kUsedChannels> lblName{};
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

  private:
    void Form_Load();

    AcquisitionState& state_;
};

}  // namespace vantrel
