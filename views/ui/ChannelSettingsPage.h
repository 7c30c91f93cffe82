#pragma once

// The Channels page of Options > Settings: a row per channel with its name, its
// input type as configured, its user scale (two points or gain and offset), unit
// and decimals, and a preview of its current value through the scale as typed.
// A row whose texts do not hold is refused with a message naming the channel and
// the field.

#include <QWidget>
#include <optional>
#include <string>
#include <variant>

#include "engine/AcquisitionState.h"
#include "engine/ChannelScale.h"

class QTableWidget;
class QTimer;

namespace vantrel {

class ChannelSettingsPage : public QWidget {
    Q_OBJECT

  public:
    enum Column { Name, InputType, Scale, Unit, Decimals, Preview, kColumns };

    explicit ChannelSettingsPage(const AcquisitionState& state, QWidget* parent = nullptr);

    void load(const ChannelScales& scales);
    // The scales as typed, or the first refusal: "CH3 scale: both points have the
    // input 4".
    std::variant<ChannelScales, std::string> scales() const;

    // Each row's preview from the state's latest values.
    void showPreviews();

    QTableWidget* tblChannels = nullptr;
    QTimer* tmrPreview = nullptr;

  private:
    ScaleParse rowScale(int row) const;
    QString cellText(int row, int column) const;

    const AcquisitionState& state_;
};

}  // namespace vantrel
