#pragma once

// "Real Time Trend": once a second, a scrolling chart of the channels marked for
// plotting, a legend of all sixteen channels with their colours and latest
// values (marked in alarm or not live as in the analog view), and the controls for the number of
// points, the range and the colours. Each channel draws in its colour of the
// palette until the user picks another, which is handed on to be kept.

#include <QPalette>
#include <QWidget>
#include <array>
#include <functional>

#include "engine/AcquisitionState.h"
#include "engine/ChannelScale.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "settings/TrendColourSettings.h"
#include "views/ChannelMarks.h"
#include "views/TrendModel.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace vantrel {

class FilledShape;
class TrendSurface;

class frmTrend : public QWidget {
    Q_OBJECT

  public:
    frmTrend(const AcquisitionState& state, platform::Clock& clock, platform::Dialogs& dialogs,
             QWidget* parent = nullptr);

    // The legend's marks at each refresh; without it only the state's link tells
    // which values are not live.
    void setMarks(std::function<ChannelMarks()> marks) { marks_ = std::move(marks); }
    // The channels' user scales at each refresh: a scaled channel is drawn and
    // shown as the user reads it, its unit in the legend ("Channel 3 [bar]").
    void setScales(std::function<const ChannelScales&()> scales) { scales_ = std::move(scales); }
    // The colours picked in an earlier window; keep receives each new pick.
    using KeepColour = std::function<void(int channel, platform::Rgb colour)>;
    void setChosenColours(const ini::TrendColourChoices& chosen, KeepColour keep);

    void tmrTrend_Timer();
    void cmbPoints_Click();
    void cmdRangeSet_Click();
    void cmdChangeColor_Click();

    const TrendModel& model() const { return model_; }

    TrendSurface* pic = nullptr;
    std::array<QLabel*, kUsedChannels> lblChannel{};
    std::array<FilledShape*, kUsedChannels> shpColor{};
    std::array<QLabel*, kUsedChannels> lblData{};
    QComboBox* cmbPoints = nullptr;
    QLineEdit* txtRange = nullptr;
    QPushButton* cmdRangeSet = nullptr;
    QComboBox* cmbColor = nullptr;
    QPushButton* cmdChangeColor = nullptr;
    QTimer* tmrTrend = nullptr;

  private:
    QWidget* buildLegend();
    QWidget* buildControls();
    void setSwatchColor(int channel, const QColor& color);

    const AcquisitionState& state_;
    platform::Clock& clock_;
    platform::Dialogs& dialogs_;
    TrendModel model_;
    std::function<ChannelMarks()> marks_;
    std::function<const ChannelScales&()> scales_;
    KeepColour keepColour_;
    QPalette valuePalette_;
};

}  // namespace vantrel
