#pragma once

// Card configuration: input type and range of the card's eight analog channels and
// the direction of its sixteen digital lines. Edits reach the shared state only on
// "Save Configuration"; the disk buttons move the window's content to and from a
// configuration file. Each window serves the one card it was opened for, so two
// windows open side by side never write into each other's card.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>

#include "engine/AcquisitionState.h"
#include "platform/Dialogs.h"
#include "setup/ConfigFile.h"

namespace vantrel {

class frmConfig : public QWidget {
    Q_OBJECT

  public:
    // card: 0 for card 1, any other value for card 2.
    frmConfig(AcquisitionState& state, int card, platform::Dialogs& dialogs,
              QWidget* parent = nullptr);

    // Fills the controls from the window's card; runs once, when the window is
    // created.
    void Form_Load();
    // Stores the controls into the window's card (both buttons do the same).
    void cmdSave_Click(int index);
    void cmdSaveToDisk_Click();
    void cmdLoadFromDisk_Click();

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    std::array<QGroupBox*, kChannelsPerCard> FrameAnalog{};
    std::array<QLabel*, kChannelsPerCard> lblInputType{};
    std::array<QComboBox*, kChannelsPerCard> cmbInputType{};
    std::array<QLabel*, kChannelsPerCard> lblInputRange{};
    std::array<QLineEdit*, kChannelsPerCard> txtInputRange{};
    std::array<QGroupBox*, kLinesPerCard> FrameDIO{};
    std::array<QRadioButton*, kLinesPerCard> optDIOInput{};
    std::array<QRadioButton*, kLinesPerCard> optDIOOutput{};
    std::array<QPushButton*, 2> cmdSave{};
    QPushButton* cmdLoadFromDisk = nullptr;
    QPushButton* cmdSaveToDisk = nullptr;

  private:
    void buildControls();
    CardConfiguration shownConfiguration() const;
    void showConfiguration(const CardConfiguration& config);
    void showError(const std::string& text);

    AcquisitionState& state_;
    const int card_;
    platform::Dialogs& dialogs_;
};

}  // namespace vantrel
