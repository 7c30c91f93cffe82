#pragma once

// "History": the whole run, or a log file read back, plotted with zoom, pan, two
// cursors with their differences and statistics, and export of the plot (PNG, PDF)
// and of the visible range (CSV). The run's window follows new data live or holds
// the view where the user left it; the history itself never pauses. A log file's
// window, once the file is read, goes on reading what the logger appends, alike.
// The run's events, or those of the events file beside the log, show as markers.

#include <QColor>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "alarms/RunEvent.h"
#include "history/HistoryDocument.h"
#include "history/LogReader.h"
#include "history/ui/PlotExport.h"
#include "platform/Dialogs.h"

class QCheckBox;
class QCPAxis;
class QCPItemStraightLine;
class QCPRange;
class QLabel;
class QSplitter;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;
class QVBoxLayout;

namespace vantrel {

namespace history {
class FollowedLog;
}
class ExportPlotDialog;
class HistoryPlot;
class LogLoader;

struct ChannelLook {
    QString name;
    QString unit;  // empty: none
    QColor color;
    bool shown = true;  // checked when the window opens
    // A value as the live views write it, unit and all; none where no view shows
    // the channel (a log's columns, a derived channel): as many decimals as its
    // values have.
    std::function<QString(double)> valueText{};
};
// What the channel list and the plot's legend call it: "Tin [°C]".
QString LegendText(const ChannelLook& look);
// The look of column `column` of group `group` of the document.
using ChannelLooks = std::function<ChannelLook(int group, int column)>;

class frmHistory : public QWidget {
    Q_OBJECT

  public:
    // The run's history, fed by the run while the window shows it.
    frmHistory(const history::HistoryDocument& run, ChannelLooks looks, platform::Dialogs& dialogs,
               QWidget* parent = nullptr);
    // A log file, read in the background; the window's title is the file's name.
    // The derived channels given are worked out again over its records.
    frmHistory(const std::string& logPath, platform::Dialogs& dialogs,
               std::optional<history::LogDerived> derived = std::nullopt,
               QWidget* parent = nullptr);
    ~frmHistory() override;

    // The run's events, shown as markers while the window shows; they outlive it.
    void followEvents(const std::deque<alarms::RunEvent>& events);

    void tmrRefresh_Timer();
    void chkFollow_Click();
    void cmdShowAll_Click();
    void showLast(std::int64_t milliseconds);
    void cmdExportImage_Click();
    void cmdExportCsv_Click();
    void cmdReload_Click();
    void cmdCancel_Click();
    void placeCursor(int which, std::int64_t x);

    // The range in view, in the document's x units.
    std::int64_t viewStart() const { return x0_; }
    std::int64_t viewEnd() const { return x1_; }
    const history::HistoryDocument& document() const { return *document_; }
    LogLoader* loader() const { return loader_.get(); }

    HistoryPlot* pic = nullptr;
    std::vector<QCheckBox*> chkChannel;
    QCheckBox* chkFollow = nullptr;
    QPushButton* cmdShowAll = nullptr;
    std::array<QPushButton*, 3> cmdLast{};  // 10 minutes, 1 hour, 24 hours
    QPushButton* cmdExportImage = nullptr;
    QPushButton* cmdExportCsv = nullptr;
    QCheckBox* chkExportEvents = nullptr;  // off: the CSV holds the values only
    QPushButton* cmdReload = nullptr;
    QPushButton* cmdCancel = nullptr;
    QProgressBar* barProgress = nullptr;
    QLabel* lblCursorA = nullptr;
    QLabel* lblCursorB = nullptr;
    QLabel* lblDeltaT = nullptr;  // from cursor A to B, once for every channel
    QLabel* lblEvent = nullptr;   // the text of the marker clicked last
    QTableWidget* tblCursors = nullptr;
    QSplitter* splPlot = nullptr;  // the plot above, the cursor table below
    QTimer* tmrRefresh = nullptr;
    ExportPlotDialog* dlgExportPlot = nullptr;  // made at the first export

    // Room for a readable plot beside the channel list.
    QSize sizeHint() const override { return {1000, 640}; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The first time: a share of the main window's area, whatever the screen.
    void showEvent(QShowEvent* event) override;

  private:
    struct Column {
        int group = 0;
        int column = 0;
    };

    void build(bool live);
    QWidget* buildButtons(bool live);
    void buildChannels();
    void refreshNames();
    void fillPlot(bool replot);
    // The value axis of the index-th unit of the plot, made when it is new.
    QCPAxis* valueAxis(std::size_t index);
    void setAxisTicker();
    void followTo(std::int64_t end);
    void setView(std::int64_t x0, std::int64_t x1);
    void axisRangeChanged(const QCPRange& range);
    void hold();
    void updateCursors();
    // The texts of a channel's cursor cells: A, B, B - A, minimum, maximum, mean.
    std::array<QString, 6> cursorCells(const Column& column) const;
    // The table tall enough for its rows, as far as the plot can spare.
    void showCursorTable();
    void exportPlot(const QString& file, PlotFormat format);
    QString exportTitle() const;
    void startLoading();
    void loadFinished();
    bool readAppended();
    void refreshView();
    void showQuickRanges();
    double toPlot(double x) const;
    std::int64_t fromPlot(double x) const;
    QString xText(std::int64_t x) const;
    std::vector<Column> shownColumns() const;
    // The events whose time falls in [x0, x1], with their x, in time order.
    std::vector<std::pair<std::int64_t, const alarms::RunEvent*>> eventsBetween(
        std::int64_t x0, std::int64_t x1) const;
    void updateMarkers();
    // The events file beside the log; what could not be read, for the user.
    std::string readEventsFile();

    const history::HistoryDocument* document_ = nullptr;
    std::unique_ptr<history::HistoryDocument> owned_;
    ChannelLooks looks_;
    platform::Dialogs& dialogs_;
    std::string logPath_;
    std::optional<history::LogDerived> logDerived_;
    std::unique_ptr<LogLoader> loader_;
    std::unique_ptr<history::FollowedLog> log_;  // the file shown, read on as it grows
    const std::deque<alarms::RunEvent>* runEvents_ = nullptr;
    std::vector<alarms::RunEvent> logEvents_;
    bool live_ = false;
    bool loadedOnce_ = false;

    std::vector<Column> columns_;    // one per check box
    std::uint64_t layoutShown_ = 0;  // the document's layout the list was built for
    QVBoxLayout* channelList_ = nullptr;
    std::int64_t x0_ = 0;
    std::int64_t x1_ = 1;
    std::int64_t width_ = 1;  // of the quick range chosen last
    bool settingRange_ = false;
    std::array<std::optional<std::int64_t>, 2> cursors_;
    std::array<QCPItemStraightLine*, 2> cursorLines_{};
    bool cursorTableSized_ = false;
    bool sizedToArea_ = false;
    PlotExportSize exportSize_;
    QString exportFile_;  // named in the file dialog, written once its size is chosen
};

}  // namespace vantrel
