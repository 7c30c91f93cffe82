#pragma once

// "Card Communication": the COM port number of each card, stored in vtrl.con by OK
// for the next start, or by Connect, which also changes the open ports at once.
// Beside each list the window shows which device that number opens here.

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "engine/AcquisitionState.h"
#include "platform/Dialogs.h"

namespace vantrel {

class frmCardComm : public QWidget {
    Q_OBJECT

  public:
    struct Services {
        // The device a port number opens here ("/dev/ttyUSB0", "COM3").
        std::function<std::string(int portNumber)> deviceName;
        // Writes vtrl.con from the state; nothing on success, else what failed.
        std::function<std::optional<std::string>(const AcquisitionState&)> savePorts;
        // The file could not be written: the program ends.
        std::function<void()> endProgram;
        // Closes the ports whose number changed and opens the ones now stored.
        std::function<void()> applyPorts;
    };

    frmCardComm(AcquisitionState& state, platform::Dialogs& dialogs, Services services,
                QWidget* parent = nullptr);

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdConnect_Click();
    void cmbComm_Change(int index);

    std::array<QGroupBox*, 2> Frame1{};
    std::array<QComboBox*, 2> cmbComm{};
    std::array<QFrame*, 2> Shape1{};
    std::array<QLabel*, 2> lblDevice{};
    QPushButton* cmdConnect = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

  private:
    void Form_Load();
    // The two ports chosen, or nothing after telling the user what is wrong.
    std::optional<std::array<int, 2>> ChosenPorts();
    // Into the state and vtrl.con; false when the program must end.
    bool StorePorts(const std::array<int, 2>& ports);

    AcquisitionState& state_;
    platform::Dialogs& dialogs_;
    Services services_;
};

}  // namespace vantrel
