#include "derived/ui/DerivedSettingsPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "derived/DerivedProgram.h"
#include "derived/DerivedSettings.h"
#include "platform/qt/CheckedEntry.h"
#include "platform/qt/ControlNames.h"
#include "platform/qt/ScreenNumbers.h"

namespace vantrel {

namespace {

using derived::DerivedChannel;

// How a refusal names a field that may not hold the [derived] separator.
constexpr const char* kFieldNames[] = {"name", "unit", "decimals"};

// The decimals a cell held when they were last good, for a refused text to give
// way to.
constexpr int kKeptText = Qt::UserRole;

constexpr AllowedRange kDecimalsRange{
    .min = 0.0, .max = static_cast<double>(derived::kMaxDecimals), .integerOnly = true};

CheckedNumber DecimalsOf(const QString& text, const std::string& label) {
    return CheckNumber(text.toStdString(), ScreenDecimalMark(), label + " decimals",
                       kDecimalsRange);
}

QTableWidgetItem* ReadOnlyItem(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

}  // namespace

DerivedSettingsPage::DerivedSettingsPage(const AcquisitionState& state,
                                         const derived::EngineeringValues& engineering,
                                         QWidget* parent)
    : QWidget(parent), state_(state), engineering_(engineering) {
    setObjectName(QStringLiteral("DerivedSettingsPage"));
    // Made in the order Tab goes through them.
    tblDerived = named(new QTableWidget(0, kColumns, this), QStringLiteral("tblDerived"),
                       tr("Derived channels"));
    tblDerived->setHorizontalHeaderLabels(
        {tr("Name"), tr("Unit"), tr("Decimals"), tr("Expression"), tr("Save"), tr("Now")});
    tblDerived->verticalHeader()->hide();
    tblDerived->horizontalHeader()->setSectionResizeMode(Expression, QHeaderView::Stretch);
    // Tab leaves the table for the buttons instead of walking its cells.
    tblDerived->setTabKeyNavigation(false);
    tblDerived->setToolTip(
        tr("Expression over ch0 to ch15 (or the channels' names) and the other derived "
           "channels: + - * / ^, comparisons, && ||, c ? a : b, abs, sqrt, exp, log, min, "
           "max, mean. Save: logged after the marked channels."));
    cmdDerivedAdd =
        named(new QPushButton(tr("&Add"), this), QStringLiteral("cmdDerivedAdd"), tr("Add"));
    cmdDerivedRemove = named(new QPushButton(tr("Re&move"), this),
                             QStringLiteral("cmdDerivedRemove"), tr("Remove"));

    auto* label = new QLabel(tr("&Derived channels:"), this);
    label->setBuddy(tblDerived);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdDerivedAdd);
    buttons->addWidget(cmdDerivedRemove);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(tblDerived, 1);
    layout->addLayout(buttons);

    connect(cmdDerivedAdd, &QPushButton::clicked, this, &DerivedSettingsPage::cmdDerivedAdd_Click);
    connect(cmdDerivedRemove, &QPushButton::clicked, this,
            &DerivedSettingsPage::cmdDerivedRemove_Click);
    connect(tblDerived, &QTableWidget::currentCellChanged, this, [this] { enableButtons(); });
    connect(tblDerived, &QTableWidget::cellChanged, this, [this](int row, int column) {
        QTableWidgetItem* item = tblDerived->item(row, column);
        if (column == Decimals && item != nullptr && DecimalsOf(item->text(), {}).accepted) {
            item->setData(kKeptText, item->text());
        }
        if (column != Now) {
            showValues();
        }
    });

    tmrDerivedNow = new QTimer(this);
    tmrDerivedNow->setObjectName(QStringLiteral("tmrDerivedNow"));
    tmrDerivedNow->setInterval(1000);
    connect(tmrDerivedNow, &QTimer::timeout, this, &DerivedSettingsPage::showValues);
    tmrDerivedNow->start();
    enableButtons();
}

void DerivedSettingsPage::load(const derived::DerivedSettings& settings) {
    tblDerived->setRowCount(0);
    for (const DerivedChannel& channel : settings.channels) {
        addRow(channel);
    }
    enableButtons();
    showValues();
}

void DerivedSettingsPage::addRow(const DerivedChannel& channel) {
    const QSignalBlocker quiet(tblDerived);
    const int row = tblDerived->rowCount();
    tblDerived->insertRow(row);
    tblDerived->setItem(row, Name, new QTableWidgetItem(QString::fromStdString(channel.name)));
    tblDerived->setItem(row, Unit, new QTableWidgetItem(QString::fromStdString(channel.unit)));
    auto* decimals = new QTableWidgetItem(QString::number(channel.decimals));
    decimals->setData(kKeptText, decimals->text());
    tblDerived->setItem(row, Decimals, decimals);
    tblDerived->setItem(row, Expression,
                        new QTableWidgetItem(QString::fromStdString(channel.expression)));
    auto* saved = new QTableWidgetItem;
    saved->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    saved->setCheckState(channel.saved ? Qt::Checked : Qt::Unchecked);
    tblDerived->setItem(row, Saved, saved);
    tblDerived->setItem(row, Now, ReadOnlyItem(QStringLiteral("-")));
}

void DerivedSettingsPage::cmdDerivedAdd_Click() {
    if (tblDerived->rowCount() >= static_cast<int>(derived::kMaxDerivedChannels)) {
        return;
    }
    addRow({});
    tblDerived->setCurrentCell(tblDerived->rowCount() - 1, Name);
    enableButtons();
}

void DerivedSettingsPage::cmdDerivedRemove_Click() {
    const int row = tblDerived->currentRow();
    if (row >= 0) {
        tblDerived->removeRow(row);
    }
    enableButtons();
}

void DerivedSettingsPage::enableButtons() {
    cmdDerivedAdd->setEnabled(tblDerived->rowCount() <
                              static_cast<int>(derived::kMaxDerivedChannels));
    cmdDerivedRemove->setEnabled(tblDerived->currentRow() >= 0);
}

QString DerivedSettingsPage::cellText(int row, int column) const {
    const QTableWidgetItem* item = tblDerived->item(row, column);
    return item == nullptr ? QString() : item->text();
}

std::string DerivedSettingsPage::rowText(int row, Column last, const std::string& decimals) const {
    const auto field = [&](Column column, const char* holding) {
        return column <= last ? cellText(row, column).toStdString() : std::string(holding);
    };
    return field(Name, "") + " | " + field(Unit, "") + " | " +
           (Decimals <= last ? decimals : std::string("0")) + " | " + field(Expression, "0");
}

// A row added and never filled in, passed over as an empty line of the file is.
bool DerivedSettingsPage::isBlank(int row) const {
    const Column texts[] = {Name, Unit, Expression};
    return std::all_of(std::begin(texts), std::end(texts),
                       [&](Column column) { return cellText(row, column).trimmed().isEmpty(); });
}

std::string DerivedSettingsPage::refuse(int row, Column column, const std::string& message) {
    tblDerived->setCurrentCell(row, column);
    return message;
}

std::variant<derived::DerivedSettings, std::string> DerivedSettingsPage::settings() {
    derived::DerivedSettings settings;
    // The table row of each channel of the settings.
    std::vector<int> rows;
    for (int row = 0; row < tblDerived->rowCount(); ++row) {
        if (isBlank(row)) {
            continue;
        }
        const std::string name = cellText(row, Name).trimmed().toStdString();
        const std::string label =
            derived::IsIdentifier(name) ? name : "Derived channel " + std::to_string(row + 1);
        // The file separates the fields by '|'; only the expression, last, may hold one.
        for (const Column column : {Name, Unit, Decimals}) {
            if (cellText(row, column).contains(QLatin1Char('|'))) {
                return refuse(row, column, label + ": " + kFieldNames[column] + " may not hold |");
            }
        }
        // A whole number read as the user types it; the file takes it without a mark.
        const CheckedNumber decimals = DecimalsOf(cellText(row, Decimals), label);
        if (!decimals.accepted) {
            QTableWidgetItem* item = tblDerived->item(row, Decimals);
            item->setText(item->data(kKeptText).toString());
            return refuse(row, Decimals, decimals.refusal);
        }
        const std::string places = std::to_string(static_cast<int>(decimals.value));
        auto parsed = derived::ParseDerivedChannel(rowText(row, Expression, places));
        if (const auto* why = std::get_if<std::string>(&parsed)) {
            // The rules are checked field by field, so the first field whose text
            // breaks one is the one at fault.
            Column fault = Expression;
            for (const Column column : {Name, Unit, Decimals}) {
                if (std::holds_alternative<std::string>(
                        derived::ParseDerivedChannel(rowText(row, column, places)))) {
                    fault = column;
                    break;
                }
            }
            return refuse(row, fault, label + ": " + *why);
        }
        DerivedChannel channel = std::get<DerivedChannel>(parsed);
        channel.saved = tblDerived->item(row, Saved)->checkState() == Qt::Checked;
        settings.channels.push_back(channel);
        rows.push_back(row);
    }
    const derived::DerivedProgram program = derived::DerivedProgram::Compile(
        settings, std::span<const std::string>(state_.ChannelName.data(), kUsedChannels));
    if (!program.errors().empty()) {
        const derived::CompileError& first =
            *std::min_element(program.errors().begin(), program.errors().end(),
                              [](const auto& a, const auto& b) { return a.channel < b.channel; });
        return refuse(rows[first.channel], first.position ? Expression : Name,
                      derived::CompileErrorText(settings, first));
    }
    return settings;
}

void DerivedSettingsPage::showValues() {
    const QSignalBlocker quiet(tblDerived);
    const std::vector<DerivedChannel>& computed = engineering_.derivedSettings().channels;
    for (int row = 0; row < tblDerived->rowCount(); ++row) {
        const std::string name = cellText(row, Name).trimmed().toStdString();
        const std::string expression = cellText(row, Expression).trimmed().toStdString();
        const auto channel = std::find_if(
            computed.begin(), computed.end(),
            [&](const DerivedChannel& c) { return c.name == name && c.expression == expression; });
        QString text = QStringLiteral("-");
        if (channel != computed.end()) {
            const auto place = static_cast<std::size_t>(channel - computed.begin());
            if (const std::optional<double> value = engineering_.latestDerived()[place]) {
                text = FixedText(*value, channel->decimals);
                if (!channel->unit.empty()) {
                    text += QLatin1Char(' ') + QString::fromStdString(channel->unit);
                }
            }
        }
        tblDerived->item(row, Now)->setText(text);
    }
}

}  // namespace vantrel
