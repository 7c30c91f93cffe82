#include "views/ui/frmViewDigitalData.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "engine/CardView.h"
#include "link/Commands.h"
#include "views/ui/FilledShape.h"

namespace vantrel {

namespace {

const QColor kLampOn(0, 255, 0);
const QColor kLampOff(0, 0, 0);
constexpr int kLampColumns = 8;

QString lineCaption(int index) {
    return QStringLiteral("D%1").arg(LineForIndex(index));
}

QLabel* makeCaption(const QString& objectName, int index, QWidget* parent) {
    auto* label = new QLabel(lineCaption(index), parent);
    label->setObjectName(objectName);
    label->setAccessibleName(label->text());
    label->setAlignment(Qt::AlignCenter);
    return label;
}

FilledShape* makeLamp(const QString& objectName, QWidget* parent) {
    auto* lamp = new FilledShape(kLampOff, parent);
    lamp->setObjectName(objectName);
    lamp->setAccessibleDescription(QStringLiteral("off"));
    return lamp;
}

}  // namespace

void ShowLamp(FilledShape* lamp, bool on) {
    lamp->setFillColor(on ? kLampOn : kLampOff);
    const QString description = on ? QStringLiteral("on") : QStringLiteral("off");
    if (lamp->accessibleDescription() != description) {
        lamp->setAccessibleDescription(description);
    }
}

frmViewDigitalData::frmViewDigitalData(AcquisitionState& state, SendCommand sendCommand,
                                       QWidget* parent)
    : QWidget(parent), state_(state), sendCommand_(std::move(sendCommand)) {
    setObjectName(QStringLiteral("frmViewDigitalData"));
    setWindowTitle(QStringLiteral("Digital Data"));
    auto* layout = new QGridLayout(this);
    for (int card = 0; card < 2; ++card) {
        layout->addWidget(buildInputs(card), 0, card);
        layout->addWidget(buildOutputs(card), 1, card);
    }

    tmrUpdate = new QTimer(this);
    tmrUpdate->setObjectName(QStringLiteral("tmrUpdate"));
    tmrUpdate->setInterval(1000);
    connect(tmrUpdate, &QTimer::timeout, this, &frmViewDigitalData::tmrUpdate_Timer);
    tmrUpdate->start();
}

QGroupBox* frmViewDigitalData::buildInputs(int card) {
    auto* box = new QGroupBox(QStringLiteral("INPUTS"), this);
    box->setObjectName(QStringLiteral("Frame2_%1").arg(card));
    Frame2[static_cast<std::size_t>(card)] = box;
    auto* grid = new QGridLayout(box);
    for (int k = 0; k < kLinesPerCard; ++k) {
        const int i = LineSlot(card, k);
        const auto at = static_cast<std::size_t>(i);
        const int row = 2 * (k / kLampColumns);
        const int column = k % kLampColumns;
        shpDI[at] = makeLamp(QStringLiteral("shpDI_%1").arg(i), box);
        lblDI[at] = makeCaption(QStringLiteral("lblDI_%1").arg(i), i, box);
        shpDI[at]->setAccessibleName(lblDI[at]->text());
        grid->addWidget(shpDI[at], row, column, Qt::AlignHCenter);
        grid->addWidget(lblDI[at], row + 1, column, Qt::AlignHCenter);
    }
    return box;
}

QGroupBox* frmViewDigitalData::buildOutputs(int card) {
    auto* box = new QGroupBox(QStringLiteral("OUTPUTS"), this);
    box->setObjectName(QStringLiteral("Frame3_%1").arg(card));
    Frame3[static_cast<std::size_t>(card)] = box;
    auto* grid = new QGridLayout(box);
    for (int k = 0; k < kLinesPerCard; ++k) {
        const int i = LineSlot(card, k);
        const auto at = static_cast<std::size_t>(i);
        const int row = 3 * (k / kLampColumns);
        const int column = k % kLampColumns;
        shpDO[at] = makeLamp(QStringLiteral("shpDO_%1").arg(i), box);
        lblDO[at] = makeCaption(QStringLiteral("lblDO_%1").arg(i), i, box);
        shpDO[at]->setAccessibleName(lblDO[at]->text());
        auto* button = new QPushButton(lineCaption(i), box);
        button->setObjectName(QStringLiteral("cmdDO_%1").arg(i));
        button->setAccessibleName(button->text());
        button->setMaximumWidth(48);
        connect(button, &QPushButton::clicked, this, [this, i] { cmdDO_Click(i); });
        cmdDO[at] = button;
        grid->addWidget(shpDO[at], row, column, Qt::AlignHCenter);
        grid->addWidget(lblDO[at], row + 1, column, Qt::AlignHCenter);
        grid->addWidget(button, row + 2, column, Qt::AlignHCenter);
    }
    return box;
}

void frmViewDigitalData::tmrUpdate_Timer() {
    for (int i = 0; i < kDigitalControls; ++i) {
        const auto line = static_cast<std::size_t>(LineForIndex(i));
        ShowLamp(shpDI[static_cast<std::size_t>(i)], state_.DigitalIn[line]);
        ShowLamp(shpDO[static_cast<std::size_t>(i)], state_.DigitalOut[line]);
    }
}

void frmViewDigitalData::cmdDO_Click(int index) {
    if (index < 0 || index >= kDigitalControls) {
        return;
    }
    const auto line = static_cast<std::size_t>(LineForIndex(index));
    const int card = CardForIndex(index);
    state_.DigitalOutCmd[line] = !state_.DigitalOutCmd[line];
    const bool connected = CardOf(std::as_const(state_), card).CardConnected;
    if (!connected || !sendCommand_) {
        return;
    }
    sendCommand_(card, link::SetOutputsCommand(state_, card));
}

}  // namespace vantrel
