#include "history/ui/frmHistory.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "alarms/EventText.h"
#include "history/CsvExport.h"
#include "history/EventsFileReading.h"
#include "history/FollowedLog.h"
#include "history/SeriesReading.h"
#include "history/ValueDecimals.h"
#include "history/ui/ExportPlotDialog.h"
#include "history/ui/HistoryPlot.h"
#include "history/ui/LogLoader.h"
#include "history/ui/RunLooks.h"
#include "platform/DateTimeText.h"
#include "platform/qt/ControlNames.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/ScreenNumbers.h"
#include "settings/AtomicFile.h"
#include "views/ui/ValueText.h"

namespace vantrel {

namespace {

constexpr std::int64_t kMinute = 60'000;
constexpr std::array<std::int64_t, 3> kQuickRanges{10 * kMinute, 60 * kMinute, 24 * 60 * kMinute};
constexpr int kLiveRefreshMs = 1000;
constexpr int kProgressRefreshMs = 200;
// Read on a growing log per refresh: far more than a logger writes in a second, and
// little enough to keep the window answering.
constexpr std::uint64_t kFollowBytes = 2 << 20;
// Of the main window's area, a window opens at; the rest keeps other windows in
// reach.
constexpr double kAreaShare = 0.85;
// The cursor table takes at most this share of the plot's column when it first
// shows; the splitter gives it more.
constexpr double kMostTableShare = 0.5;

QPushButton* Button(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    return named(button, QString::fromLatin1(name), caption);
}

}  // namespace

QString LegendText(const ChannelLook& look) {
    return look.unit.isEmpty() ? look.name : QStringLiteral("%1 [%2]").arg(look.name, look.unit);
}

frmHistory::frmHistory(const history::HistoryDocument& run, ChannelLooks looks,
                       platform::Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), document_(&run), looks_(std::move(looks)), dialogs_(dialogs), live_(true) {
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("History"));
    build(true);
    tmrRefresh->start(kLiveRefreshMs);
    showLast(kQuickRanges[0]);
}

frmHistory::frmHistory(const std::string& logPath, platform::Dialogs& dialogs,
                       std::optional<history::LogDerived> derived, QWidget* parent)
    : QWidget(parent),
      owned_(std::make_unique<history::HistoryDocument>()),
      dialogs_(dialogs),
      logPath_(logPath),
      logDerived_(std::move(derived)) {
    document_ = owned_.get();
    looks_ = [this](int group, int column) {
        const auto& groups = document_->groups;
        const std::string& name =
            groups[static_cast<std::size_t>(group)].names[static_cast<std::size_t>(column)];
        const std::string& unit =
            groups[static_cast<std::size_t>(group)].units[static_cast<std::size_t>(column)];
        QString text = QString::fromStdString(name);
        if (group > 0) {
            text += QStringLiteral(" (part %1)").arg(group + 1);
        }
        int index = column;
        for (int g = 0; g < group; ++g) {
            index += static_cast<int>(groups[static_cast<std::size_t>(g)].names.size());
        }
        return ChannelLook{text, QString::fromStdString(unit), PaletteColour(index), true};
    };
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QFileInfo(QString::fromStdString(logPath)).fileName());
    build(false);
    startLoading();
}

frmHistory::~frmHistory() = default;

void frmHistory::followEvents(const std::deque<alarms::RunEvent>& events) {
    runEvents_ = &events;
    fillPlot(true);
}

void frmHistory::build(bool live) {
    pic = new HistoryPlot(this);
    pic->setObjectName(QStringLiteral("pic"));
    pic->setAccessibleName(windowTitle());
    pic->setMinimumSize(320, 200);
    // On screen the channel list is the legend; an exported plot carries its own.
    pic->legend->setVisible(false);
    pic->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);
    setAxisTicker();
    for (auto& line : cursorLines_) {
        line = new QCPItemStraightLine(pic);
        line->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
        line->setVisible(false);
    }
    connect(pic->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            &frmHistory::axisRangeChanged);
    connect(pic, &HistoryPlot::cursorPlaced, this,
            [this](int which, double x) { placeCursor(which, fromPlot(x)); });
    connect(pic, &HistoryPlot::markerClicked, this, [this](std::size_t index) {
        lblEvent->setText(pic->markers()->markers()[index].text);
    });

    lblCursorA = named(new QLabel(QStringLiteral("A: -"), this), QStringLiteral("lblCursorA"),
                       QStringLiteral("Cursor A"));
    lblCursorB = named(new QLabel(QStringLiteral("B: -"), this), QStringLiteral("lblCursorB"),
                       QStringLiteral("Cursor B"));
    lblDeltaT = named(new QLabel(QStringLiteral("Δt: -"), this), QStringLiteral("lblDeltaT"),
                      QStringLiteral("Δt"));
    lblEvent = named(new QLabel(this), QStringLiteral("lblEvent"), QStringLiteral("Event"));
    lblEvent->setTextInteractionFlags(Qt::TextSelectableByMouse);
    tblCursors = named(new QTableWidget(0, 7, this), QStringLiteral("tblCursors"),
                       QStringLiteral("Cursors"));
    tblCursors->setHorizontalHeaderLabels(
        {tr("Channel"), tr("A"), tr("B"), tr("Δvalue"), tr("Minimum"), tr("Maximum"), tr("Mean")});
    tblCursors->verticalHeader()->setVisible(false);
    tblCursors->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblCursors->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Shown once a cursor is placed; until then the plot has the room.
    tblCursors->setVisible(false);
    tblCursors->setWordWrap(false);
    pic->setToolTip(
        tr("Click: cursor A, right-click: cursor B. Drag to pan, wheel to zoom, "
           "Ctrl+drag to zoom into a box."));
    auto* cursorRow = new QHBoxLayout;
    cursorRow->addWidget(lblCursorA);
    cursorRow->addSpacing(24);
    cursorRow->addWidget(lblCursorB);
    cursorRow->addSpacing(24);
    cursorRow->addWidget(lblDeltaT);
    cursorRow->addSpacing(24);
    cursorRow->addWidget(lblEvent, 1);

    auto* channels = new QWidget;
    channelList_ = new QVBoxLayout(channels);
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("channels"));
    scroll->setWidget(channels);
    scroll->setWidgetResizable(true);
    scroll->setFixedWidth(200);
    buildChannels();

    auto* cursorPanel = new QWidget(this);
    auto* cursorColumn = new QVBoxLayout(cursorPanel);
    cursorColumn->setContentsMargins(0, 0, 0, 0);
    cursorColumn->addLayout(cursorRow);
    cursorColumn->addWidget(tblCursors, 1);
    splPlot = new QSplitter(Qt::Vertical, this);
    splPlot->setObjectName(QStringLiteral("splPlot"));
    splPlot->setChildrenCollapsible(false);
    splPlot->addWidget(pic);
    splPlot->addWidget(cursorPanel);
    splPlot->setStretchFactor(0, 1);
    splPlot->setStretchFactor(1, 0);
    auto* middle = new QHBoxLayout;
    middle->addWidget(splPlot, 1);
    middle->addWidget(scroll);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildButtons(live));
    layout->addLayout(middle, 1);
    if (!live) {
        auto* progressRow = new QHBoxLayout;
        barProgress = new QProgressBar(this);
        named(barProgress, QStringLiteral("barProgress"), tr("Reading"));
        cmdCancel = Button(tr("Cancel"), "cmdCancel", this);
        progressRow->addWidget(barProgress, 1);
        progressRow->addWidget(cmdCancel);
        layout->addLayout(progressRow);
        connect(cmdCancel, &QPushButton::clicked, this, &frmHistory::cmdCancel_Click);
    }

    tmrRefresh = new QTimer(this);
    tmrRefresh->setObjectName(QStringLiteral("tmrRefresh"));
    connect(tmrRefresh, &QTimer::timeout, this, &frmHistory::tmrRefresh_Timer);
}

QWidget* frmHistory::buildButtons(bool live) {
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    chkFollow = new QCheckBox(tr("&Follow live"), panel);
    named(chkFollow, QStringLiteral("chkFollow"), tr("Follow live"));
    row->addWidget(chkFollow);
    cmdShowAll = Button(tr("Show &all"), "cmdShowAll", panel);
    row->addWidget(cmdShowAll);
    const std::array<QString, 3> captions{tr("Last 10 minutes"), tr("Last hour"),
                                          tr("Last 24 hours")};
    for (std::size_t i = 0; i < cmdLast.size(); ++i) {
        cmdLast[i] = Button(captions[i], "", panel);
        cmdLast[i]->setObjectName(indexedName("cmdLast", static_cast<int>(i)));
        row->addWidget(cmdLast[i]);
        connect(cmdLast[i], &QPushButton::clicked, this, [this, i] { showLast(kQuickRanges[i]); });
    }
    row->addStretch(1);
    cmdExportImage = Button(tr("Export &Plot..."), "cmdExportImage", panel);
    cmdExportCsv = Button(tr("Export &CSV..."), "cmdExportCsv", panel);
    chkExportEvents = new QCheckBox(tr("with e&vents"), panel);
    named(chkExportEvents, QStringLiteral("chkExportEvents"), tr("Export CSV with events"));
    row->addWidget(cmdExportImage);
    row->addWidget(cmdExportCsv);
    row->addWidget(chkExportEvents);
    if (!live) {
        cmdReload = Button(tr("&Reload"), "cmdReload", panel);
        row->addWidget(cmdReload);
        connect(cmdReload, &QPushButton::clicked, this, &frmHistory::cmdReload_Click);
    }
    connect(chkFollow, &QCheckBox::clicked, this, &frmHistory::chkFollow_Click);
    connect(cmdShowAll, &QPushButton::clicked, this, &frmHistory::cmdShowAll_Click);
    connect(cmdExportImage, &QPushButton::clicked, this, &frmHistory::cmdExportImage_Click);
    connect(cmdExportCsv, &QPushButton::clicked, this, &frmHistory::cmdExportCsv_Click);
    return panel;
}

void frmHistory::buildChannels() {
    // A reloaded log keeps the channels the user had hidden.
    QStringList hidden;
    for (QCheckBox* box : chkChannel) {
        if (!box->isChecked()) {
            hidden.append(box->text());
        }
    }
    while (QLayoutItem* item = channelList_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    chkChannel.clear();
    columns_.clear();
    layoutShown_ = document_->layout;
    for (std::size_t g = 0; g < document_->groups.size(); ++g) {
        for (std::size_t c = 0; c < document_->groups[g].names.size(); ++c) {
            const ChannelLook look = looks_(static_cast<int>(g), static_cast<int>(c));
            const QString text = LegendText(look);
            auto* box = new QCheckBox(text);
            box->setObjectName(indexedName("chkChannel", static_cast<int>(chkChannel.size())));
            box->setAccessibleName(text);
            box->setChecked(look.shown && !hidden.contains(text));
            QPalette colours = box->palette();
            colours.setColor(QPalette::WindowText, look.color);
            box->setPalette(colours);
            channelList_->addWidget(box);
            connect(box, &QCheckBox::toggled, this, [this] {
                fillPlot(true);
                updateCursors();
            });
            chkChannel.push_back(box);
            columns_.push_back({static_cast<int>(g), static_cast<int>(c)});
        }
    }
    channelList_->addStretch(1);
}

void frmHistory::refreshNames() {
    for (std::size_t i = 0; i < chkChannel.size(); ++i) {
        const QString name = LegendText(looks_(columns_[i].group, columns_[i].column));
        if (chkChannel[i]->text() != name) {
            chkChannel[i]->setText(name);
            chkChannel[i]->setAccessibleName(name);
        }
    }
}

std::vector<frmHistory::Column> frmHistory::shownColumns() const {
    std::vector<Column> shown;
    for (std::size_t i = 0; i < chkChannel.size(); ++i) {
        if (chkChannel[i]->isChecked()) {
            shown.push_back(columns_[i]);
        }
    }
    return shown;
}

double frmHistory::toPlot(double x) const {
    return document_->axis == history::Axis::Time ? x / 1000.0 : x;
}

std::int64_t frmHistory::fromPlot(double x) const {
    return std::llround(document_->axis == history::Axis::Time ? x * 1000.0 : x);
}

QString frmHistory::xText(std::int64_t x) const {
    if (document_->axis == history::Axis::RecordNumber) {
        return tr("record %1").arg(x);
    }
    return QDateTime::fromMSecsSinceEpoch(x).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

QCPAxis* frmHistory::valueAxis(std::size_t index) {
    QCPAxisRect* rect = pic->axisRect();
    while (static_cast<std::size_t>(rect->axisCount(QCPAxis::atLeft)) <= index) {
        rect->addAxis(QCPAxis::atLeft);
    }
    return rect->axis(QCPAxis::atLeft, static_cast<int>(index));
}

void frmHistory::fillPlot(bool replot) {
    const int columns = std::max(100, pic->axisRect()->width());
    const std::vector<Column> shown = shownColumns();
    // One value axis per unit, in the order the channels list them; the channels
    // without a unit share one.
    struct UnitAxis {
        QString unit;
        double low = std::numeric_limits<double>::infinity();
        double high = -std::numeric_limits<double>::infinity();
    };
    std::vector<UnitAxis> axes;
    int graphs = 0;
    for (const Column& column : shown) {
        const history::HistoryGroup& group =
            document_->groups[static_cast<std::size_t>(column.group)];
        const ChannelLook look = looks_(column.group, column.column);
        auto axis = std::find_if(axes.begin(), axes.end(),
                                 [&](const UnitAxis& a) { return a.unit == look.unit; });
        if (axis == axes.end()) {
            axis = axes.insert(axes.end(), UnitAxis{look.unit});
        }
        QCPAxis* valueAxisOfUnit = valueAxis(static_cast<std::size_t>(axis - axes.begin()));
        QCPGraph* graph = graphs < pic->graphCount() ? pic->graph(graphs)
                                                     : pic->addGraph(pic->xAxis, valueAxisOfUnit);
        ++graphs;
        graph->setValueAxis(valueAxisOfUnit);
        graph->setName(LegendText(look));
        graph->setPen(QPen(look.color, 0));
        QVector<QCPGraphData> data;
        for (const history::PlotPoint& p :
             history::PlotPoints(group.series, column.column, x0_, x1_, columns, group.breakGap)) {
            // An infinite value cannot be drawn: it shows as a gap.
            data.append(QCPGraphData(toPlot(p.x), std::isfinite(p.y) ? p.y : qQNaN()));
            if (std::isfinite(p.y)) {
                axis->low = std::min(axis->low, p.y);
                axis->high = std::max(axis->high, p.y);
            }
        }
        graph->data()->set(data, true);
    }
    while (pic->graphCount() > graphs) {
        pic->removeGraph(pic->graphCount() - 1);
    }
    if (axes.empty()) {
        axes.emplace_back();
    }
    // The axes no unit needs any more have no graph left on them.
    QCPAxisRect* rect = pic->axisRect();
    while (static_cast<std::size_t>(rect->axisCount(QCPAxis::atLeft)) > axes.size()) {
        rect->removeAxis(rect->axis(QCPAxis::atLeft, rect->axisCount(QCPAxis::atLeft) - 1));
    }
    for (std::size_t a = 0; a < axes.size(); ++a) {
        double low = axes[a].low;
        double high = axes[a].high;
        if (low > high) {
            low = 0.0;
            high = 1.0;
        }
        const double margin = high > low ? (high - low) * 0.05 : 1.0;
        QCPAxis* axis = valueAxis(a);
        axis->setRange(low - margin, high + margin);
        axis->setLabel(axes[a].unit);
    }
    pic->xAxis->setLabel(document_->axis == history::Axis::Time ? tr("Time") : tr("Record"));
    updateMarkers();
    if (replot) {
        pic->replot();
    }
}

std::vector<std::pair<std::int64_t, const alarms::RunEvent*>> frmHistory::eventsBetween(
    std::int64_t x0, std::int64_t x1) const {
    std::vector<std::pair<std::int64_t, const alarms::RunEvent*>> found;
    // Records counted have no time to place an event at.
    if (document_->axis != history::Axis::Time) {
        return found;
    }
    const auto take = [&](const auto& events) {
        for (const alarms::RunEvent& event : events) {
            const std::int64_t x = platform::UtcMilliseconds(event.at);
            if (x >= x0 && x <= x1) {
                found.emplace_back(x, &event);
            }
        }
    };
    if (runEvents_ != nullptr) {
        take(*runEvents_);
    }
    take(logEvents_);
    // A clock set back during the run leaves its events out of time order.
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return found;
}

void frmHistory::updateMarkers() {
    std::vector<EventMarker> markers;
    for (const auto& [x, event] : eventsBetween(x0_, x1_)) {
        const std::string label =
            event->text.empty() ? alarms::EventKindName(event->kind) : event->text;
        // The plot's label is one line; the text clicked keeps its line ends.
        markers.push_back({toPlot(static_cast<double>(x)),
                           QString::fromStdString(label).simplified(),
                           xText(x) + QStringLiteral("  ") +
                               QString::fromStdString(alarms::EventDescription(*event))});
    }
    pic->markers()->setMarkers(std::move(markers));
}

std::string frmHistory::readEventsFile() {
    const history::EventsFile file = history::ReadEventsFile(logPath_);
    logEvents_ = file.reading.events;
    const std::string name = QFileInfo(QString::fromStdString(history::EventsFilePath(logPath_)))
                                 .fileName()
                                 .toStdString();
    if (file.unreadable) {
        return "The events in " + name + " could not be read.";
    }
    const std::size_t skipped = file.reading.skippedLines;
    if (skipped > 0) {
        return std::to_string(skipped) + (skipped == 1 ? " line" : " lines") + " of " + name +
               " could not be read and " + (skipped == 1 ? "was" : "were") + " skipped.";
    }
    return {};
}

void frmHistory::setAxisTicker() {
    if (document_->axis == history::Axis::Time) {
        auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
        ticker->setDateTimeFormat(QStringLiteral("HH:mm:ss\nyyyy-MM-dd"));
        ticker->setDateTimeSpec(Qt::LocalTime);
        pic->xAxis->setTicker(ticker);
    } else {
        // Records are counted whole.
        auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
        ticker->setTickStep(1.0);
        ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
        pic->xAxis->setTicker(ticker);
    }
}

void frmHistory::setView(std::int64_t x0, std::int64_t x1) {
    if (x1 <= x0) {
        x1 = x0 + (document_->axis == history::Axis::Time ? 1000 : 1);
    }
    x0_ = x0;
    x1_ = x1;
    settingRange_ = true;
    pic->xAxis->setRange(toPlot(static_cast<double>(x0)), toPlot(static_cast<double>(x1)));
    settingRange_ = false;
    fillPlot(true);
}

void frmHistory::axisRangeChanged(const QCPRange& range) {
    if (settingRange_) {
        return;
    }
    // Dragged, wheeled or rubber-banded: the user wants this view held.
    chkFollow->setChecked(false);
    x0_ = fromPlot(range.lower);
    x1_ = std::max(x0_ + 1, fromPlot(range.upper));
    fillPlot(false);
}

void frmHistory::hold() {
    chkFollow->setChecked(false);
}

void frmHistory::tmrRefresh_Timer() {
    if (loader_ && loader_->running()) {
        barProgress->setValue(loader_->percent());
        return;
    }
    if (live_ || readAppended()) {
        refreshView();
    }
}

void frmHistory::refreshView() {
    if (live_ && document_->layout != layoutShown_) {
        buildChannels();
    } else if (live_) {
        refreshNames();
    }
    if (chkFollow->isChecked() && !document_->empty()) {
        followTo(document_->lastX());
    } else {
        fillPlot(true);
    }
    updateCursors();
}

bool frmHistory::readAppended() {
    if (!log_) {
        return false;
    }
    const bool wasEmpty = document_->empty();
    const std::size_t groups = document_->groups.size();
    if (log_->readMore(kFollowBytes).value_or(0) == 0) {
        return false;
    }
    // The events of what was appended; what cannot be read was told at loading.
    readEventsFile();
    if (document_->groups.size() != groups) {
        buildChannels();
    }
    if (wasEmpty && !document_->empty()) {
        setAxisTicker();
        showQuickRanges();
        cmdShowAll_Click();
    }
    return true;
}

void frmHistory::chkFollow_Click() {
    if (chkFollow->isChecked() && !(loader_ && loader_->running())) {
        width_ = x1_ - x0_;
        readAppended();
        refreshView();
    }
}

void frmHistory::cmdShowAll_Click() {
    hold();
    if (!document_->empty()) {
        setView(document_->firstX(), document_->lastX());
    }
}

void frmHistory::showLast(std::int64_t milliseconds) {
    const std::int64_t end = document_->empty() ? x1_ : document_->lastX();
    if (document_->axis == history::Axis::RecordNumber) {
        // A record axis has no time: the quick ranges count records at one a second.
        milliseconds /= 1000;
    }
    chkFollow->setChecked(live_);
    width_ = milliseconds;
    followTo(end);
}

void frmHistory::followTo(std::int64_t end) {
    // A run younger than the chosen width is shown whole, growing until it fills it.
    const std::int64_t start = document_->empty() ? end - width_ : document_->firstX();
    setView(std::max(start, end - width_), end);
}

void frmHistory::keyPressEvent(QKeyEvent* event) {
    const std::int64_t width = x1_ - x0_;
    const std::int64_t middle = x0_ + width / 2;
    switch (event->key()) {
        case Qt::Key_Left:
            hold();
            setView(x0_ - width / 10, x1_ - width / 10);
            return;
        case Qt::Key_Right:
            hold();
            setView(x0_ + width / 10, x1_ + width / 10);
            return;
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            hold();
            setView(middle - width / 4, middle + width / 4);
            return;
        case Qt::Key_Minus:
            hold();
            setView(middle - width, middle + width);
            return;
        case Qt::Key_Home:
            cmdShowAll_Click();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void frmHistory::placeCursor(int which, std::int64_t x) {
    const auto at = static_cast<std::size_t>(which == 0 ? 0 : 1);
    cursors_[at] = x;
    QCPItemStraightLine* line = cursorLines_[at];
    line->point1->setCoords(toPlot(static_cast<double>(x)), 0.0);
    line->point2->setCoords(toPlot(static_cast<double>(x)), 1.0);
    line->setVisible(true);
    (at == 0 ? lblCursorA : lblCursorB)
        ->setText(QStringLiteral("%1: %2").arg(at == 0 ? "A" : "B", xText(x)));
    updateCursors();
    showCursorTable();
    pic->replot();
}

void frmHistory::showCursorTable() {
    tblCursors->setVisible(true);
    if (cursorTableSized_) {
        return;
    }
    const QList<int> sizes = splPlot->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (total <= 0) {
        return;  // not laid out yet: sized when it is
    }
    cursorTableSized_ = true;
    const int rows = tblCursors->rowCount();
    const int wanted = tblCursors->horizontalHeader()->sizeHint().height() +
                       rows * tblCursors->verticalHeader()->defaultSectionSize() +
                       2 * tblCursors->frameWidth() + lblCursorA->sizeHint().height() +
                       tblCursors->style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing);
    const int table = std::min(wanted, static_cast<int>(total * kMostTableShare));
    splPlot->setSizes({total - table, table});
}

std::array<QString, 6> frmHistory::cursorCells(const Column& column) const {
    const history::ReducingSeries& series =
        document_->groups[static_cast<std::size_t>(column.group)].series;
    const ChannelLook look = looks_(column.group, column.column);
    const auto& [a, b] = cursors_;
    const auto valueAt = [&](const std::optional<std::int64_t>& x) -> std::optional<float> {
        if (!x) {
            return std::nullopt;
        }
        const std::optional<float> value = history::ValueAt(series, column.column, *x);
        return value && !std::isnan(*value) ? value : std::nullopt;
    };
    const std::optional<float> valueA = valueAt(a);
    const std::optional<float> valueB = valueAt(b);
    history::RangeStats stats;
    if (a && b) {
        stats = history::StatsBetween(series, column.column, std::min(*a, *b), std::max(*a, *b));
    }
    std::function<QString(double)> text = look.valueText;
    if (!text) {
        int decimals = 0;
        for (const std::optional<float>& value : {valueA, valueB}) {
            decimals = value ? std::max(decimals, history::DecimalsOf(*value)) : decimals;
        }
        if (stats.count > 0) {
            decimals = std::max(
                {decimals, history::DecimalsOf(stats.min), history::DecimalsOf(stats.max)});
        }
        const QString unit = look.unit.isEmpty() ? QString() : QLatin1Char(' ') + look.unit;
        text = [decimals, unit](double value) { return FixedText(value, decimals) + unit; };
    }
    std::array<QString, 6> cells;
    if (valueA) {
        cells[0] = text(*valueA);
    }
    if (valueB) {
        cells[1] = text(*valueB);
    }
    if (valueA && valueB) {
        cells[2] = text(static_cast<double>(*valueB) - static_cast<double>(*valueA));
    }
    if (stats.count > 0) {
        cells[3] = text(stats.min);
        cells[4] = text(stats.max);
        cells[5] = text(stats.mean);
    }
    return cells;
}

void frmHistory::updateCursors() {
    const std::vector<Column> shown = shownColumns();
    tblCursors->setRowCount(static_cast<int>(shown.size()));
    const auto& [a, b] = cursors_;
    QString deltaT = QStringLiteral("-");
    if (a && b) {
        const double dt = static_cast<double>(*b - *a);
        deltaT = document_->axis == history::Axis::Time
                     ? FixedText(dt / 1000.0, 3) + QStringLiteral(" s")
                     : FixedText(dt, 0);
    }
    lblDeltaT->setText(QStringLiteral("Δt: ") + deltaT);
    for (std::size_t row = 0; row < shown.size(); ++row) {
        const std::array<QString, 6> values = cursorCells(shown[row]);
        std::array<QString, 7> cells;
        cells[0] = looks_(shown[row].group, shown[row].column).name;
        std::copy(values.begin(), values.end(), cells.begin() + 1);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            auto* item = tblCursors->item(static_cast<int>(row), static_cast<int>(c));
            if (item == nullptr) {
                item = new QTableWidgetItem;
                tblCursors->setItem(static_cast<int>(row), static_cast<int>(c), item);
            }
            item->setText(cells[c]);
        }
    }
}

void frmHistory::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (sizedToArea_ || frame == nullptr || frame->mdiArea() == nullptr) {
        return;
    }
    sizedToArea_ = true;
    const QSize area = frame->mdiArea()->viewport()->size();
    const QSize size = (QSizeF(area) * kAreaShare).toSize().expandedTo(frame->minimumSizeHint());
    frame->resize(size.boundedTo(area));
    // Where the cascade put it, as long as the whole window stays inside the area.
    const QPoint corner(std::max(0, std::min(frame->x(), area.width() - frame->width())),
                        std::max(0, std::min(frame->y(), area.height() - frame->height())));
    frame->move(corner);
}

void frmHistory::cmdExportImage_Click() {
    const std::optional<std::string> path = dialogs_.saveFile(
        {"Export Plot", "PNG Image (*.png)|*.png|PDF Document (*.pdf)|*.pdf", "png", ""});
    if (!path) {
        return;
    }
    if (dlgExportPlot == nullptr) {
        dlgExportPlot = new ExportPlotDialog(this, dialogs_);
        connect(dlgExportPlot, &QDialog::accepted, this, [this] {
            exportSize_ = dlgExportPlot->chosen();
            exportPlot(exportFile_, FormatOfFile(exportFile_));
        });
    }
    exportFile_ = QString::fromStdString(*path);
    dlgExportPlot->ask(FormatOfFile(exportFile_), exportSize_);
    dlgExportPlot->open();
}

QString frmHistory::exportTitle() const {
    const QString name = live_ ? tr("Run") : windowTitle();
    return QStringLiteral("%1, %2 to %3").arg(name, xText(x0_), xText(x1_));
}

void frmHistory::exportPlot(const QString& file, PlotFormat format) {
    const std::vector<Column> shown = shownColumns();
    std::vector<QString> names;
    for (const Column& column : shown) {
        const ChannelLook look = looks_(column.group, column.column);
        QString name = LegendText(look);
        const std::array<QString, 6> cells = cursorCells(column);
        for (std::size_t at = 0; at < cursors_.size(); ++at) {
            if (!cells[at].isEmpty()) {
                name += QStringLiteral("   %1: %2").arg(at == 0 ? "A" : "B", cells[at]);
            }
        }
        names.push_back(name);
    }
    std::vector<CursorMark> marks;
    for (std::size_t at = 0; at < cursors_.size(); ++at) {
        if (cursors_[at]) {
            marks.push_back(
                {toPlot(static_cast<double>(*cursors_[at])),
                 QStringLiteral("%1: %2").arg(at == 0 ? "A" : "B", xText(*cursors_[at]))});
        }
    }
    bool saved = false;
    {
        const ExportDressing dressing(*pic, exportTitle(), names, marks);
        saved = SavePlot(*pic, file, format, exportSize_, exportTitle());
    }
    pic->replot();
    if (!saved) {
        dialogs_.showMessage({"The plot could not be saved as " + file.toStdString() + ".",
                              "Export", platform::MessageIcon::Critical});
    }
}

void frmHistory::cmdExportCsv_Click() {
    const std::optional<std::string> path =
        dialogs_.saveFile({"Export CSV", "CSV Files (*.csv)|*.csv", "csv", ""});
    if (!path) {
        return;
    }
    std::vector<history::ExportColumn> columns;
    for (const Column& column : shownColumns()) {
        const ChannelLook look = looks_(column.group, column.column);
        columns.push_back(
            {column.group, column.column, look.name.toStdString(), look.unit.toStdString()});
    }
    std::optional<std::vector<history::ExportEvent>> events;
    if (chkExportEvents->isChecked()) {
        events.emplace();
        for (const auto& [x, event] : eventsBetween(x0_, x1_)) {
            events->push_back({x, alarms::EventDescription(*event)});
        }
    }
    // A failure never leaves half a file under the chosen name.
    const std::optional<std::string> failure = WriteFileAtomically(*path, [&](const PutPiece& put) {
        return history::WriteCsv(put, *document_, columns, x0_, x1_, platform::UtcOffsetMinutesAt,
                                 events ? &*events : nullptr);
    });
    if (failure) {
        dialogs_.showMessage({"The CSV file " + *path + " could not be written.", "Export",
                              platform::MessageIcon::Critical});
    }
}

void frmHistory::startLoading() {
    history::LogReadOptions options = LocalLogOptions(logPath_);
    options.derived = logDerived_;
    loader_ = std::make_unique<LogLoader>(logPath_, std::move(options));
    connect(loader_.get(), &LogLoader::finished, this, &frmHistory::loadFinished);
    barProgress->setValue(0);
    barProgress->setVisible(true);
    cmdCancel->setVisible(true);
    cmdReload->setEnabled(false);
    tmrRefresh->start(kProgressRefreshMs);
    loader_->start();
}

void frmHistory::cmdReload_Click() {
    if (!loader_ || !loader_->running()) {
        startLoading();
    }
}

void frmHistory::cmdCancel_Click() {
    if (loader_) {
        loader_->cancel();
    }
}

void frmHistory::showQuickRanges() {
    for (QPushButton* button : cmdLast) {
        button->setVisible(document_->axis == history::Axis::Time);
    }
}

void frmHistory::loadFinished() {
    if (!loader_) {
        return;
    }
    loader_->wait();
    LogLoader::Result result = loader_->takeResult();
    tmrRefresh->stop();
    barProgress->setVisible(false);
    cmdCancel->setVisible(false);
    cmdReload->setEnabled(true);
    const std::string file = QFileInfo(QString::fromStdString(logPath_)).fileName().toStdString();
    const bool replaced = result.log != nullptr;
    if (replaced) {
        log_ = std::move(result.log);
        document_ = &log_->document();
    }
    // Whatever the reload gave, the file shown is read on.
    if (log_) {
        tmrRefresh->start(kLiveRefreshMs);
    }
    if (!result.error.empty()) {
        dialogs_.showMessage({result.error, "Open Log", platform::MessageIcon::Critical});
        return;
    }
    if (!replaced) {
        return;
    }
    const std::string eventsProblem = readEventsFile();
    setAxisTicker();
    buildChannels();
    if (!loadedOnce_ && !document_->empty()) {
        cmdShowAll_Click();
    } else {
        setView(x0_, x1_);
    }
    loadedOnce_ = true;
    updateCursors();
    showQuickRanges();
    std::string message = result.problems;
    if (!eventsProblem.empty()) {
        message += (message.empty() ? "" : "\n") + eventsProblem;
    }
    if (document_->empty()) {
        message = "No record could be read from " + file + "." +
                  (message.empty() ? std::string() : "\n" + message);
    }
    if (!message.empty()) {
        dialogs_.showMessageNonBlocking({message, "Open Log", platform::MessageIcon::Warning},
                                        [] {});
    }
}

}  // namespace vantrel
