#pragma once

// "Analog Data": the latest value of all sixteen channels and each card's
// ambient temperature, refreshed once a second, each value marked when its
// channel is in alarm or its card's values are not live. Reads the state,
// changes nothing.

#include <QPalette>
#include <QWidget>
#include <array>
#include <functional>

#include "engine/AcquisitionState.h"
#include "engine/ChannelScale.h"
#include "views/ChannelMarks.h"

class QGroupBox;
class QLabel;
class QTimer;

namespace vantrel {

class frmViewAnalogData : public QWidget {
    Q_OBJECT

  public:
    explicit frmViewAnalogData(const AcquisitionState& state, QWidget* parent = nullptr);

    // The marks at each refresh; without it only the state's link tells which
    // values are not live.
    void setMarks(std::function<ChannelMarks()> marks) { marks_ = std::move(marks); }
    // The user's scales at each refresh; without it every value is shown as converted.
    void setScales(std::function<const ChannelScales&()> scales) { scales_ = std::move(scales); }

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
    std::function<ChannelMarks()> marks_;
    std::function<const ChannelScales&()> scales_;
    QPalette valuePalette_;
};

}  // namespace vantrel
