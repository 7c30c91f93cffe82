#include "views/ui/frmTrend.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/ScaledValue.h"
#include "platform/qt/CheckedEntry.h"
#include "platform/qt/ControlNames.h"
#include "views/ChannelPalette.h"
#include "views/ui/ChannelMarkLooks.h"
#include "views/ui/FilledShape.h"
#include "views/ui/TrendSurface.h"
#include "views/ui/ValueText.h"

namespace vantrel {

namespace {

QString channelCaption(int n) {
    return QStringLiteral("Channel %1").arg(n);
}

// The top of the plot: below 1 the scale would shrink to nothing; the model caps
// a huge one at what it can draw.
constexpr AllowedRange kTrendRangeAllowed{.min = 1};

platform::Rgb toRgb(const QColor& color) {
    return {static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
            static_cast<std::uint8_t>(color.blue())};
}

QColor toQColor(platform::Rgb rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

}  // namespace

frmTrend::frmTrend(const AcquisitionState& state, platform::Clock& clock,
                   platform::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), state_(state), clock_(clock), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmTrend"));
    setWindowTitle(QStringLiteral("Real Time Trend"));

    pic = new TrendSurface(this);
    auto* top = new QHBoxLayout;
    top->addWidget(pic, 1);
    top->addWidget(buildLegend());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(buildControls());

    tmrTrend = new QTimer(this);
    tmrTrend->setObjectName(QStringLiteral("tmrTrend"));
    tmrTrend->setInterval(1000);
    connect(tmrTrend, &QTimer::timeout, this, &frmTrend::tmrTrend_Timer);
    tmrTrend->start();
}

QWidget* frmTrend::buildLegend() {
    auto* legend = new QWidget(this);
    legend->setObjectName(QStringLiteral("legend"));
    auto* grid = new QGridLayout(legend);
    grid->setVerticalSpacing(2);
    for (int n = 0; n < kUsedChannels; ++n) {
        const auto at = static_cast<std::size_t>(n);
        auto* name = new QLabel(channelCaption(n), legend);
        named(name, QStringLiteral("lblChannel_%1").arg(n), name->text());
        const QColor colour = toQColor(ChannelPaletteColour(n));
        auto* swatch = new FilledShape(colour, legend);
        swatch->setObjectName(QStringLiteral("shpColor_%1").arg(n));
        swatch->setAccessibleName(name->text());
        swatch->setAccessibleDescription(colour.name().toUpper());
        auto* value = new QLabel(QStringLiteral("0"), legend);
        named(value, QStringLiteral("lblData_%1").arg(n), value->text());
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setMinimumWidth(70);
        value->setAutoFillBackground(true);
        QPalette colours = value->palette();
        colours.setColor(QPalette::Window, QColor(0, 0, 128));
        colours.setColor(QPalette::WindowText, Qt::white);
        value->setPalette(colours);
        valuePalette_ = colours;
        grid->addWidget(name, n, 0);
        grid->addWidget(swatch, n, 1);
        grid->addWidget(value, n, 2);
        lblChannel[at] = name;
        shpColor[at] = swatch;
        lblData[at] = value;
    }
    return legend;
}

QWidget* frmTrend::buildControls() {
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);

    auto* pointsBox = new QGroupBox(QStringLiteral("No. of Points:"), panel);
    auto* pointsLayout = new QHBoxLayout(pointsBox);
    cmbPoints = new QComboBox(pointsBox);
    named(cmbPoints, QStringLiteral("cmbPoints"), pointsBox->title());
    for (const std::int16_t points : kTrendPointChoices) {
        cmbPoints->addItem(QString::number(points));
    }
    cmbPoints->setCurrentIndex(0);
    pointsLayout->addWidget(cmbPoints);
    row->addWidget(pointsBox);

    auto* rangeBox = new QGroupBox(QStringLiteral("Range:"), panel);
    auto* rangeLayout = new QHBoxLayout(rangeBox);
    txtRange = new QLineEdit(QStringLiteral("100"), rangeBox);
    named(txtRange, QStringLiteral("txtRange"), rangeBox->title());
    CheckedEntry::Guard(txtRange, QStringLiteral("Range"), kTrendRangeAllowed, dialogs_);
    cmdRangeSet = new QPushButton(QStringLiteral("Set Range"), rangeBox);
    named(cmdRangeSet, QStringLiteral("cmdRangeSet"), cmdRangeSet->text());
    rangeLayout->addWidget(txtRange);
    rangeLayout->addWidget(cmdRangeSet);
    row->addWidget(rangeBox);

    auto* colorLabel = new QLabel(QStringLiteral("Change Color:"), panel);
    colorLabel->setObjectName(QStringLiteral("lblChangeColor"));
    cmbColor = new QComboBox(panel);
    named(cmbColor, QStringLiteral("cmbColor"), colorLabel->text());
    colorLabel->setBuddy(cmbColor);
    for (int n = 0; n < kUsedChannels; ++n) {
        cmbColor->addItem(channelCaption(n));
    }
    cmbColor->setCurrentIndex(0);
    cmdChangeColor = new QPushButton(QStringLiteral("Change"), panel);
    named(cmdChangeColor, QStringLiteral("cmdChangeColor"), cmdChangeColor->text());
    row->addWidget(colorLabel);
    row->addWidget(cmbColor);
    row->addWidget(cmdChangeColor);
    row->addStretch(1);

    connect(cmbPoints, &QComboBox::currentIndexChanged, this, &frmTrend::cmbPoints_Click);
    connect(cmdRangeSet, &QPushButton::clicked, this, &frmTrend::cmdRangeSet_Click);
    connect(txtRange, &QLineEdit::returnPressed, this, &frmTrend::cmdRangeSet_Click);
    connect(cmdChangeColor, &QPushButton::clicked, this, &frmTrend::cmdChangeColor_Click);
    return panel;
}

void frmTrend::tmrTrend_Timer() {
    TrendColors colors;
    for (int n = 0; n < kUsedChannels; ++n) {
        colors[static_cast<std::size_t>(n)] =
            toRgb(shpColor[static_cast<std::size_t>(n)]->fillColor());
    }
    static const ChannelScales kUnscaled{};
    const ChannelScales& scales = scales_ ? scales_() : kUnscaled;
    pic->setDrawing(model_.tick(state_, colors, clock_, scales));

    for (int n = 0; n < kUsedChannels; ++n) {
        const auto at = static_cast<std::size_t>(n);
        const std::optional<ChannelScale>& scale = scales[at];
        const QString text =
            scale ? ScaledValueText(ScaledValue(state_, n, *scale), state_.InputType[at], *scale)
                  : ChannelValueText(state_.ChannelValue[at], state_.InputType[at]);
        if (lblData[at]->text() != text) {
            lblData[at]->setText(text);
            lblData[at]->setAccessibleName(text);
        }
        // A channel without a user scale keeps its caption as it always was.
        const QString caption = scale && !scale->unit.empty()
                                    ? QStringLiteral("%1 [%2]").arg(
                                          channelCaption(n), QString::fromStdString(scale->unit))
                                    : channelCaption(n);
        if (lblChannel[at]->text() != caption) {
            lblChannel[at]->setText(caption);
            lblChannel[at]->setAccessibleName(caption);
        }
    }
    const ChannelMarks marks = marks_ ? marks_() : MarkChannels(state_, {}, {}, {});
    for (std::size_t at = 0; at < marks.size(); ++at) {
        ShowChannelMark(*lblData[at], marks[at], valuePalette_, true);
    }
}

void frmTrend::cmbPoints_Click() {
    model_.choosePoints(cmbPoints->currentIndex());
}

void frmTrend::cmdRangeSet_Click() {
    if (!CheckedEntry::Of(txtRange)->check()) {
        return;
    }
    // The model reads a period; the box keeps the number as the user typed it.
    const std::string typed = txtRange->text().toStdString();
    const CheckedNumber checked = CheckNumber(typed, ScreenDecimalMark(), "", kTrendRangeAllowed);
    const std::string given = checked.accepted ? checked.fileText : typed;
    const std::string shown = model_.applyRange(given);
    if (shown != given) {
        txtRange->setText(QString::fromStdString(shown));
    }
}

void frmTrend::cmdChangeColor_Click() {
    const int k = cmbColor->currentIndex();
    const auto at = static_cast<std::size_t>(k);
    const platform::Rgb current =
        k >= 0 && k < kUsedChannels ? toRgb(shpColor[at]->fillColor()) : ChannelPaletteColour(0);
    const std::optional<platform::Rgb> chosen = dialogs_.chooseColor(current);
    // A cancelled dialog keeps the colour the swatch already has.
    if (!chosen || k < 0 || k >= kUsedChannels) {
        return;
    }
    setSwatchColor(k, toQColor(*chosen));
    if (keepColour_) {
        keepColour_(k, *chosen);
    }
}

void frmTrend::setChosenColours(const ini::TrendColourChoices& chosen, KeepColour keep) {
    for (int n = 0; n < kUsedChannels; ++n) {
        if (const std::optional<platform::Rgb>& colour = chosen[static_cast<std::size_t>(n)]) {
            setSwatchColor(n, toQColor(*colour));
        }
    }
    keepColour_ = std::move(keep);
}

void frmTrend::setSwatchColor(int channel, const QColor& color) {
    FilledShape* swatch = shpColor[static_cast<std::size_t>(channel)];
    swatch->setFillColor(color);
    swatch->setAccessibleDescription(color.name().toUpper());
}

}  // namespace vantrel
