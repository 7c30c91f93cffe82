#include "views/ui/frmViewAnalogData.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "engine/CardView.h"
#include "engine/ScaledValue.h"
#include "platform/qt/ScreenNumbers.h"
#include "views/ui/ChannelMarkLooks.h"
#include "views/ui/ValueText.h"

namespace vantrel {

namespace {

// A frame shorter or longer than this was never decoded, so the card's values
// would not belong to it.
constexpr int kRowsPerColumn = 4;
const QString kAmbientCaption = QStringLiteral("Ambient Temperature: ");

void setText(QLabel* label, const QString& text) {
    if (label->text() != text) {
        label->setText(text);
        label->setAccessibleName(text);
    }
}

}  // namespace

frmViewAnalogData::frmViewAnalogData(const AcquisitionState& state, QWidget* parent)
    : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("frmViewAnalogData"));
    setWindowTitle(QStringLiteral("Analog Data"));
    auto* layout = new QVBoxLayout(this);
    for (int card = 0; card < 2; ++card) {
        buildCard(card);
        layout->addWidget(Frame1[static_cast<std::size_t>(card)]);
    }

    tmrUpdate = new QTimer(this);
    tmrUpdate->setObjectName(QStringLiteral("tmrUpdate"));
    tmrUpdate->setInterval(1000);
    connect(tmrUpdate, &QTimer::timeout, this, &frmViewAnalogData::tmrUpdate_Timer);
    tmrUpdate->start();
}

void frmViewAnalogData::buildCard(int card) {
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("Frame1_%1").arg(card));
    Frame1[static_cast<std::size_t>(card)] = box;
    auto* grid = new QGridLayout(box);
    for (int c = 0; c < kChannelsPerCard; ++c) {
        const int slot = ChannelSlot(card, c);
        const int row = c % kRowsPerColumn;
        const int column = 2 * (c / kRowsPerColumn);

        auto* name = new QLabel(box);
        name->setObjectName(QStringLiteral("lblCH_%1").arg(slot));
        setText(name, QStringLiteral("CH%1:").arg(slot));
        auto* value = new QLabel(box);
        value->setObjectName(QStringLiteral("lblData_%1").arg(slot));
        value->setAlignment(Qt::AlignCenter);
        value->setMinimumWidth(80);
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        setText(value, QStringLiteral("0.00"));
        name->setBuddy(value);

        grid->addWidget(name, row, column);
        grid->addWidget(value, row, column + 1);
        lblCH[static_cast<std::size_t>(slot)] = name;
        lblData[static_cast<std::size_t>(slot)] = value;
        valuePalette_ = value->palette();
    }
    auto* ambient = new QLabel(box);
    ambient->setObjectName(QStringLiteral("lblAmb_%1").arg(card));
    setText(ambient, kAmbientCaption);
    grid->addWidget(ambient, kRowsPerColumn, 0, 1, 4);
    lblAmb[static_cast<std::size_t>(card)] = ambient;
}

void frmViewAnalogData::tmrUpdate_Timer() {
    for (int card = 0; card < 2; ++card) {
        const ConstCardView thisCard = CardOf(std::as_const(state_), card);
        if (thisCard.hasAnalogFrame()) {
            showCard(card, thisCard.AmbientTemp);
        }
    }
    const ChannelMarks marks = marks_ ? marks_() : MarkChannels(state_, {}, {}, {});
    for (std::size_t slot = 0; slot < marks.size(); ++slot) {
        ShowChannelMark(*lblData[slot], marks[slot], valuePalette_, false);
    }
}

void frmViewAnalogData::showCard(int card, float ambient) {
    static const ChannelScales kUnscaled{};
    const ChannelScales& scales = scales_ ? scales_() : kUnscaled;
    for (int c = 0; c < kChannelsPerCard; ++c) {
        const auto slot = static_cast<std::size_t>(ChannelSlot(card, c));
        const std::optional<ChannelScale>& scale = scales[slot];
        setText(lblData[slot],
                scale ? ScaledValueText(ScaledValue(state_, static_cast<int>(slot), *scale),
                                        state_.InputType[slot], *scale)
                      : ChannelValueText(state_.ChannelValue[slot], state_.InputType[slot]));
    }
    setText(lblAmb[static_cast<std::size_t>(card)],
            kAmbientCaption + ShortestText(ambient) + QStringLiteral(" deg.C"));
}

}  // namespace vantrel
