#pragma once

// "Digital Data": input and output lamps of both cards, refreshed once a second,
// and one button per output line that toggles the commanded state and sends the
// card's whole output word.

#include <QWidget>
#include <array>
#include <functional>
#include <string_view>

#include "engine/AcquisitionState.h"
#include "views/DigitalLineMap.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace vantrel {

class FilledShape;

class frmViewDigitalData : public QWidget {
    Q_OBJECT

  public:
    // card: 0 for card 1, 1 for card 2; the command goes out without its CR.
    using SendCommand = std::function<void(int card, std::string_view command)>;

    frmViewDigitalData(AcquisitionState& state, SendCommand sendCommand, QWidget* parent = nullptr);

    void tmrUpdate_Timer();
    void cmdDO_Click(int index);

    std::array<QLabel*, kDigitalControls> lblDI{};
    std::array<FilledShape*, kDigitalControls> shpDI{};
    std::array<QLabel*, kDigitalControls> lblDO{};
    std::array<FilledShape*, kDigitalControls> shpDO{};
    std::array<QPushButton*, kDigitalControls> cmdDO{};
    std::array<QGroupBox*, 2> Frame2{};
    std::array<QGroupBox*, 2> Frame3{};
    QTimer* tmrUpdate = nullptr;

  private:
    QGroupBox* buildInputs(int card);
    QGroupBox* buildOutputs(int card);

    AcquisitionState& state_;
    SendCommand sendCommand_;
};

// Shows a line state: green and "on", or black and "off".
void ShowLamp(FilledShape* lamp, bool on);

}  // namespace vantrel
