#pragma once

// The Channels page of Options > Settings: a row per channel with its name, its
// input type as configured, its user scale (two points or gain and offset), unit
// and decimals, and a preview of its current value through the scale as typed.
// A row whose texts do not hold is refused with a message naming the channel and
// the field, whose cell becomes the current one; a number the cell does not hold
// gives way to the cell's previous text. Numbers are read in the user's decimal
// mark and kept with a period.

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
    std::variant<ChannelScales, std::string> scales();

    // Each row's preview from the state's latest values.
    void showPreviews();

    QTableWidget* tblChannels = nullptr;
    QTimer* tmrPreview = nullptr;

  private:
    struct CellRefusal {
        Column column;
        std::string message;
        // A number the cell does not hold: its previous text comes back.
        bool restore;
    };
    using RowScale = std::variant<std::optional<ChannelScale>, CellRefusal>;
    RowScale rowScale(int row) const;
    // The cell's numbers as files keep them, or the refusal of the first.
    std::variant<std::string, CellRefusal> cellNumbers(int row, Column column) const;
    void keepIfHeld(int row, int column);
    QString cellText(int row, int column) const;

    const AcquisitionState& state_;
};

}  // namespace vantrel
