#include "views/ui/ChannelSettingsPage.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/InputTypes.h"
#include "engine/ScaledValue.h"
#include "platform/qt/ControlNames.h"
#include "views/ui/ValueText.h"

namespace vantrel {

namespace {

QTableWidgetItem* ReadOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QString InputTypeName(int inputType) {
    return inputType >= 0 && inputType < input_type::kCount
               ? QString::fromLatin1(input_type::kNames[static_cast<std::size_t>(inputType)])
               : QString::number(inputType);
}

}  // namespace

ChannelSettingsPage::ChannelSettingsPage(const AcquisitionState& state, QWidget* parent)
    : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("ChannelSettingsPage"));
    tblChannels = named(new QTableWidget(kUsedChannels, kColumns, this),
                        QStringLiteral("tblChannels"), tr("Channels"));
    tblChannels->setHorizontalHeaderLabels(
        {tr("Channel"), tr("Input type"), tr("Scale"), tr("Unit"), tr("Decimals"), tr("Now")});
    tblChannels->verticalHeader()->hide();
    tblChannels->horizontalHeader()->setSectionResizeMode(Scale, QHeaderView::Stretch);
    tblChannels->setToolTip(
        tr("Scale: two points as input, value, input, value (4 0 20 10: 4 mA reads 0 and "
           "20 mA reads 10), or gain 0.625 offset -2.5. Empty: as converted."));
    for (int row = 0; row < kUsedChannels; ++row) {
        tblChannels->setItem(row, Name, ReadOnlyItem(QStringLiteral("CH%1").arg(row)));
        tblChannels->setItem(row, InputType, ReadOnlyItem({}));
        for (const int column : {Scale, Unit, Decimals}) {
            tblChannels->setItem(row, column, new QTableWidgetItem);
        }
        tblChannels->setItem(row, Preview, ReadOnlyItem({}));
    }
    connect(tblChannels, &QTableWidget::cellChanged, this, [this](int, int column) {
        if (column != Preview) {
            showPreviews();
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tblChannels);

    tmrPreview = new QTimer(this);
    tmrPreview->setObjectName(QStringLiteral("tmrPreview"));
    tmrPreview->setInterval(1000);
    connect(tmrPreview, &QTimer::timeout, this, &ChannelSettingsPage::showPreviews);
    tmrPreview->start();
    showPreviews();
}

void ChannelSettingsPage::load(const ChannelScales& scales) {
    for (int row = 0; row < kUsedChannels; ++row) {
        const std::optional<ChannelScale>& scale = scales[static_cast<std::size_t>(row)];
        const bool byOne = !scale || (scale->form == ChannelScale::Form::GainOffset &&
                                      scale->gain == 1.0 && scale->offset == 0.0);
        tblChannels->item(row, Scale)
            ->setText(byOne ? QString() : QString::fromStdString(ScaleText(*scale)));
        tblChannels->item(row, Unit)->setText(scale ? QString::fromStdString(scale->unit)
                                                    : QString());
        tblChannels->item(row, Decimals)
            ->setText(scale && scale->decimals ? QString::number(*scale->decimals) : QString());
    }
    showPreviews();
}

QString ChannelSettingsPage::cellText(int row, int column) const {
    const QTableWidgetItem* item = tblChannels->item(row, column);
    return item == nullptr ? QString() : item->text();
}

ScaleParse ChannelSettingsPage::rowScale(int row) const {
    return ParseChannelScale(cellText(row, Scale).toStdString(), cellText(row, Unit).toStdString(),
                             cellText(row, Decimals).toStdString());
}

std::variant<ChannelScales, std::string> ChannelSettingsPage::scales() const {
    ChannelScales scales;
    for (int row = 0; row < kUsedChannels; ++row) {
        const ScaleParse parsed = rowScale(row);
        if (const auto* refused = std::get_if<ScaleRefusal>(&parsed)) {
            return RefusalText(row, *refused);
        }
        scales[static_cast<std::size_t>(row)] = std::get<std::optional<ChannelScale>>(parsed);
    }
    return scales;
}

void ChannelSettingsPage::showPreviews() {
    const QSignalBlocker quiet(tblChannels);
    for (int row = 0; row < kUsedChannels; ++row) {
        const auto slot = static_cast<std::size_t>(row);
        tblChannels->item(row, InputType)->setText(InputTypeName(state_.InputType[slot]));
        const ScaleParse parsed = rowScale(row);
        QString preview;
        if (const auto* scale = std::get_if<std::optional<ChannelScale>>(&parsed)) {
            preview = *scale ? ScaledValueText(ScaledValue(state_, row, **scale),
                                               state_.InputType[slot], **scale)
                             : ChannelValueText(state_.ChannelValue[slot], state_.InputType[slot]);
        }
        tblChannels->item(row, Preview)->setText(preview);
    }
}

}  // namespace vantrel
