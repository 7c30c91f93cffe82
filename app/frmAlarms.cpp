#include "app/frmAlarms.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include "alarms/AlarmListText.h"
#include "platform/qt/ControlNames.h"
#include "views/ui/ChannelMarkLooks.h"

namespace vantrel {

namespace {

// The alarm each active row stands for, kept in its first cell.
constexpr int kIdRole = Qt::UserRole;
// Both tables have the level third.
constexpr int kLevelColumn = 2;

QTableWidget* makeTable(QWidget* parent, const char* name, const QStringList& columns) {
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()), parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setHorizontalHeaderLabels(columns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void setRow(QTableWidget& table, int row, const QStringList& cells,
            std::optional<alarms::AlarmLevel> level) {
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        // The level's own cell in its colour, so the worst stands out.
        if (level && column == kLevelColumn) {
            item->setBackground(AlarmColour(*level));
            item->setForeground(AlarmTextColour(*level));
        }
        table.setItem(row, column, item);
    }
}

QString levelText(std::optional<alarms::AlarmLevel> level) {
    return level ? QString::fromLatin1(alarms::LevelText(*level)) : QString();
}

QString text(const std::string& value) {
    return QString::fromStdString(value);
}

}  // namespace

frmAlarms::frmAlarms(acquisition::Run& run, QWidget* parent) : QWidget(parent), run_(run) {
    setObjectName(QStringLiteral("frmAlarms"));
    setWindowTitle(QStringLiteral("Alarms"));

    auto* activeCaption = new QLabel(QStringLiteral("Active alarms:"), this);
    activeCaption->setObjectName(QStringLiteral("lblActive"));
    grdActive = makeTable(this, "grdActive",
                          {QStringLiteral("Channel"), QStringLiteral("Condition"),
                           QStringLiteral("Level"), QStringLiteral("Value at raise"),
                           QStringLiteral("Raised at"), QStringLiteral("Acknowledged")});
    grdActive->setAccessibleName(QStringLiteral("Active alarms"));
    activeCaption->setBuddy(grdActive);
    grdActive->installEventFilter(this);

    auto* historyCaption = new QLabel(QStringLiteral("Recent history:"), this);
    historyCaption->setObjectName(QStringLiteral("lblHistory"));
    grdHistory = makeTable(
        this, "grdHistory",
        {QStringLiteral("Time"), QStringLiteral("Event"), QStringLiteral("Level"),
         QStringLiteral("Channel"), QStringLiteral("Condition"), QStringLiteral("Value")});
    grdHistory->setAccessibleName(QStringLiteral("Recent history"));
    historyCaption->setBuddy(grdHistory);

    cmdAcknowledge = new QPushButton(QStringLiteral("Ac&knowledge"), this);
    named(cmdAcknowledge, QStringLiteral("cmdAcknowledge"), QStringLiteral("Acknowledge"));
    cmdAcknowledgeAll = new QPushButton(QStringLiteral("Acknowledge A&ll"), this);
    named(cmdAcknowledgeAll, QStringLiteral("cmdAcknowledgeAll"),
          QStringLiteral("Acknowledge All"));
    connect(cmdAcknowledge, &QPushButton::clicked, this, &frmAlarms::cmdAcknowledge_Click);
    connect(cmdAcknowledgeAll, &QPushButton::clicked, this, &frmAlarms::cmdAcknowledgeAll_Click);
    auto* all = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+A")), this);
    all->setObjectName(QStringLiteral("keyAcknowledgeAll"));
    all->setContext(Qt::WidgetWithChildrenShortcut);
    connect(all, &QShortcut::activated, this, &frmAlarms::cmdAcknowledgeAll_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAcknowledge);
    buttons->addWidget(cmdAcknowledgeAll);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(activeCaption);
    layout->addWidget(grdActive, 1);
    layout->addLayout(buttons);
    layout->addWidget(historyCaption);
    layout->addWidget(grdHistory, 2);

    tmrUpdate = new QTimer(this);
    tmrUpdate->setObjectName(QStringLiteral("tmrUpdate"));
    tmrUpdate->setInterval(500);
    connect(tmrUpdate, &QTimer::timeout, this, &frmAlarms::tmrUpdate_Timer);
    tmrUpdate->start();
    refresh();
}

void frmAlarms::refresh() {
    const alarms::RunEvents& events = run_.events();
    const std::uint64_t seen = events.forgotten() + events.events().size();
    if (seen == shownEvents_) {
        return;
    }
    shownEvents_ = seen;
    showActive();
    showHistory();
}

void frmAlarms::showActive() {
    const std::optional<alarms::AlarmId> selected = selectedAlarm();
    const std::vector<alarms::ActiveAlarm>& active = run_.events().active();
    grdActive->setRowCount(static_cast<int>(active.size()));
    int reselect = active.empty() ? -1 : 0;
    for (int row = 0; row < static_cast<int>(active.size()); ++row) {
        const alarms::ActiveAlarm& alarm = active[static_cast<std::size_t>(row)];
        setRow(
            *grdActive, row,
            {text(alarm.subject), text(alarm.text), levelText(alarm.level),
             text(alarms::ShownValue(alarm.valueAtRaise)), text(alarms::ShownTime(alarm.raisedAt)),
             alarm.acknowledged ? QStringLiteral("Yes") : QStringLiteral("No")},
            alarm.level);
        grdActive->item(row, 0)->setData(
            kIdRole, QList<QVariant>{static_cast<int>(alarm.id.kind), alarm.id.index});
        if (selected && *selected == alarm.id) {
            reselect = row;
        }
    }
    if (reselect >= 0) {
        grdActive->selectRow(reselect);
    }
    const bool any = !active.empty();
    cmdAcknowledge->setEnabled(any);
    cmdAcknowledgeAll->setEnabled(any);
}

void frmAlarms::showHistory() {
    const std::vector<alarms::AlarmHistoryRow> rows =
        alarms::AlarmHistory(run_.events().events(), kHistoryRows);
    grdHistory->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        const alarms::AlarmHistoryRow& event = rows[static_cast<std::size_t>(row)];
        setRow(*grdHistory, row,
               {text(event.time), text(event.event), levelText(event.level), text(event.channel),
                text(event.text), text(event.value)},
               event.level);
    }
}

std::optional<alarms::AlarmId> frmAlarms::selectedAlarm() const {
    const int row = grdActive->currentRow();
    const QTableWidgetItem* first = row >= 0 ? grdActive->item(row, 0) : nullptr;
    if (first == nullptr || grdActive->selectedItems().isEmpty()) {
        return std::nullopt;
    }
    const QList<QVariant> id = first->data(kIdRole).toList();
    if (id.size() != 2) {
        return std::nullopt;
    }
    return alarms::AlarmId{static_cast<alarms::AlarmKind>(id[0].toInt()), id[1].toInt()};
}

void frmAlarms::cmdAcknowledge_Click() {
    if (const std::optional<alarms::AlarmId> id = selectedAlarm()) {
        run_.acknowledge(*id);
    }
    refresh();
}

void frmAlarms::cmdAcknowledgeAll_Click() {
    run_.acknowledgeAll();
    refresh();
}

bool frmAlarms::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grdActive && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdAcknowledge_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vantrel
