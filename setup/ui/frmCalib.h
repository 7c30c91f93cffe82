#pragma once

// Calibration of one card's analog channels from their live raw counts: the user
// applies a reference signal, ticks the channels that carry it and presses the
// matching button; once the user agrees to the counts shown, plausible ones go into
// the shared calibration tables, and Undo puts back what the last step replaced.
// Export and Import move card 1's calibration to and from a calibration file. Each
// window serves the one card it was opened for.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "engine/AcquisitionState.h"
#include "platform/Dialogs.h"
#include "setup/CalibrationStep.h"
#include "setup/ui/ColourLamp.h"

namespace vantrel {

class frmCalib : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kRefreshMs = 1000;

    // card: 0 for card 1, any other value for card 2.
    frmCalib(AcquisitionState& state, int card, platform::Dialogs& dialogs,
             QWidget* parent = nullptr);

    void Form_Load();
    // Shows the live counts of the window's card, once it has sent a full analog
    // frame.
    void tmrUpdate_Timer();
    // index 0 takes the span ("Calibrate 10V"), index 1 the zero ("Calibrate 0V").
    void cmdCalibrate10V_Click(int index);
    // index 0 takes the span ("Calibrate 200mV"), index 1 the zero ("Calibrate 0mV").
    void cmdCalibrate200mV_Click(int index);
    void cmdCalibrateRTD_Click();
    void cmdExport_Click();
    void cmdImport_Click();
    void cmdClose_Click();
    // Puts back the values the window's last calibration step replaced.
    void cmdUndo_Click();

    QGroupBox* Frame1 = nullptr;
    std::array<QLabel*, kChannelsPerCard> lblCH{};
    std::array<QLabel*, kChannelsPerCard> lblData{};
    std::array<QCheckBox*, kChannelsPerCard> chkSel{};
    std::array<ColourLamp*, kChannelsPerCard> shpZero{};
    std::array<ColourLamp*, kChannelsPerCard> shpSpan{};
    QLabel* lblAmb = nullptr;
    QLabel* Label1 = nullptr;
    std::array<QLabel*, 2> Label2{};
    std::array<QLabel*, 2> Label3{};
    std::array<QPushButton*, 2> cmdCalibrate10V{};
    std::array<QPushButton*, 2> cmdCalibrate200mV{};
    QPushButton* cmdCalibrateRTD = nullptr;
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdUndo = nullptr;
    QTimer* tmrUpdate = nullptr;

  private:
    // What a step replaced, channel by channel, so that Undo can put it back.
    struct Replaced {
        int channel;
        std::int16_t before;
        std::int16_t after;
        platform::Rgb lampBefore;
        std::string lampBeforeName;
    };
    struct LastStep {
        CalibrationStep step;
        std::vector<Replaced> channels;
    };

    void buildControls();
    ColourLamp* lampOf(const CalibrationStep& step, int channel) const;
    void calibrate(const CalibrationStep& step);
    void saveSettings(const char* title);
    void showMessage(const std::string& text, const char* title, platform::MessageIcon icon);

    AcquisitionState& state_;
    const int card_;
    platform::Dialogs& dialogs_;
    std::optional<LastStep> lastStep_;
};

}  // namespace vantrel
