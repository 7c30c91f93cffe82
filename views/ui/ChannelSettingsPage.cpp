#include "views/ui/ChannelSettingsPage.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <array>
#include <charconv>

#include "engine/InputTypes.h"
#include "engine/ScaledValue.h"
#include "platform/qt/CheckedEntry.h"
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

// The text a cell held when it was last good, for a refused number to give way to.
constexpr int kKeptText = Qt::UserRole;

constexpr AllowedRange kDecimalsRange{
    .min = 0.0, .max = static_cast<double>(kMaxScaleDecimals), .integerOnly = true};

// The shortest text that reads back as the same number, with a period.
std::string FileNumber(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string CaptionOf(int row, ScaleRefusal::Field field) {
    return "CH" + std::to_string(row) + " " + std::string(FieldName(field));
}

ChannelSettingsPage::Column ColumnOf(ScaleRefusal::Field field) {
    switch (field) {
        case ScaleRefusal::Field::Scale:
            return ChannelSettingsPage::Scale;
        case ScaleRefusal::Field::Unit:
            return ChannelSettingsPage::Unit;
        case ScaleRefusal::Field::Decimals:
            return ChannelSettingsPage::Decimals;
    }
    return ChannelSettingsPage::Scale;
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
    connect(tblChannels, &QTableWidget::cellChanged, this, [this](int row, int column) {
        if (column != Preview) {
            keepIfHeld(row, column);
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
        for (const int column : {Scale, Decimals}) {
            QTableWidgetItem* item = tblChannels->item(row, column);
            item->setData(kKeptText, item->text());
        }
    }
    showPreviews();
}

void ChannelSettingsPage::keepIfHeld(int row, int column) {
    if ((column == Scale || column == Decimals) &&
        std::holds_alternative<std::string>(cellNumbers(row, static_cast<Column>(column)))) {
        QTableWidgetItem* item = tblChannels->item(row, column);
        item->setData(kKeptText, item->text());
    }
}

std::variant<std::string, ChannelSettingsPage::CellRefusal> ChannelSettingsPage::cellNumbers(
    int row, Column column) const {
    const char mark = ScreenDecimalMark();
    const QString text = cellText(row, column);
    if (column == Decimals) {
        if (text.trimmed().isEmpty()) {
            return std::string();
        }
        const CheckedNumber number =
            CheckNumber(text.toStdString(), mark, CaptionOf(row, ScaleRefusal::Field::Decimals),
                        kDecimalsRange);
        if (!number.accepted) {
            return CellRefusal{Decimals, number.refusal, true};
        }
        return std::to_string(static_cast<int>(number.value));
    }
    // Two points or gain and offset: every word but the two names is a number.
    std::string numbers;
    for (const QString& word : text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        std::string piece = word.toStdString();
        if (piece != "gain" && piece != "offset") {
            const CheckedNumber number =
                CheckNumber(piece, mark, CaptionOf(row, ScaleRefusal::Field::Scale), {});
            if (!number.accepted) {
                return CellRefusal{Scale, number.refusal, true};
            }
            piece = FileNumber(number.value);
        }
        numbers += (numbers.empty() ? "" : " ") + piece;
    }
    return numbers;
}

QString ChannelSettingsPage::cellText(int row, int column) const {
    const QTableWidgetItem* item = tblChannels->item(row, column);
    return item == nullptr ? QString() : item->text();
}

ChannelSettingsPage::RowScale ChannelSettingsPage::rowScale(int row) const {
    std::string numbers[2];
    for (const Column column : {Decimals, Scale}) {
        auto held = cellNumbers(row, column);
        if (auto* refused = std::get_if<CellRefusal>(&held)) {
            return std::move(*refused);
        }
        numbers[column == Scale ? 0 : 1] = std::get<std::string>(held);
    }
    const ScaleParse parsed =
        ParseChannelScale(numbers[0], cellText(row, Unit).toStdString(), numbers[1]);
    if (const auto* refused = std::get_if<ScaleRefusal>(&parsed)) {
        return CellRefusal{ColumnOf(refused->field), RefusalText(row, *refused), false};
    }
    return std::get<std::optional<ChannelScale>>(parsed);
}

std::variant<ChannelScales, std::string> ChannelSettingsPage::scales() {
    ChannelScales scales;
    for (int row = 0; row < kUsedChannels; ++row) {
        const RowScale read = rowScale(row);
        if (const auto* refused = std::get_if<CellRefusal>(&read)) {
            QTableWidgetItem* item = tblChannels->item(row, refused->column);
            if (refused->restore) {
                item->setText(item->data(kKeptText).toString());
            }
            tblChannels->setCurrentItem(item);
            return refused->message;
        }
        scales[static_cast<std::size_t>(row)] = std::get<std::optional<ChannelScale>>(read);
    }
    return scales;
}

void ChannelSettingsPage::showPreviews() {
    const QSignalBlocker quiet(tblChannels);
    for (int row = 0; row < kUsedChannels; ++row) {
        const auto slot = static_cast<std::size_t>(row);
        tblChannels->item(row, InputType)->setText(InputTypeName(state_.InputType[slot]));
        const RowScale parsed = rowScale(row);
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
