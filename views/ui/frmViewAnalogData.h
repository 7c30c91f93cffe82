#pragma once

// "Analog Data": the latest value of all sixteen channels and each card's
// ambient temperature, refreshed once a second. Reads the state, changes nothing.

#include <QWidget>
#include <array>

#include "engine/AcquisitionState.h"

class QGroupBox;
class QLabel;
class QTimer;

namespace vantrel {

class frmViewAnalogData : public QWidget {
    Q_OBJECT

  public:
    explicit frmViewAnalogData(const AcquisitionState& state, QWidget* parent = nullptr);

    void tmrUpdate_Timer();

    std::array<QGroupBox*, 2> Frame1{};
    std::array<QLabel*, kUsedChannels> lblCH{};
    std::array<QLabel*, kUsedChannels> lblData{};
    std::array<QLabel*, 2> lblAmb{};
    QTimer* tmrUpdate = nullptr;

  private:
    void buildCard(int card);
    void showCard(int card, float ambient);

    const AcquisitionState& state_;
};

}  // namespace vantrel
