// The History windows as a user meets them from the menus. The run's window: the
// channels named from the save options with their unit, following new frames live
// until the user pans, Home showing the whole run, clicks placing the cursors with
// their values, difference and statistics, and both exports. File > Open Log: a
// window titled with the file's name, its column names, the one message naming
// unreadable lines, Reload taking what was appended, Cancel keeping what was shown,
// and what the logger appends read on and followed, new columns and all. The
// run's events and those of a log's events file as markers, their text on a click,
// its bad lines told, and the events in the CSV export only when asked for. The
// derived channels of the run with their unit and a value axis of their own, those
// of earlier settings kept. The window's share of the main window, the cursor
// table with a row for every checked channel in the channel's own decimals, and
// the exported plot's pixels and paper.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <fstream>

#include "engine/InputTypes.h"
#include "history/SeriesReading.h"
#include "history/ui/ExportPlotDialog.h"
#include "platform/qt/QtDialogs.h"

#include "history/ui/EventMarkers.h"
#include "history/ui/HistoryPlot.h"
#include "history/ui/LogLoader.h"
#include "history/ui/frmHistory.h"
#include "logging/ValueText.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/Controls.h"

namespace vantrel {
namespace {

using testing::Find;

class HistoryWindowTest : public testing::MainWindowFixture {
  protected:
    // Card 1 sends a frame whose first count is `count`, `rest` the others', one
    // second after the last.
    void frame(int count, int rest = 0) {
        clock.current.second = seconds++;
        char text[80];
        std::snprintf(text, sizeof text, "%+06d,%+06d,%+06d,%+06d,%+06d,%+06d,%+06d,%+06d,+25.5\r",
                      count, rest, rest, rest, rest, rest, rest, rest);
        cm->receive(text);
    }
    frmHistory& windowTitled(const QString& title) {
        for (frmHistory* history : window->findChildren<frmHistory*>()) {
            if (history->windowTitle() == title) {
                return *history;
            }
        }
        throw std::runtime_error("no window " + title.toStdString());
    }
    void click(frmHistory& history, std::int64_t x, Qt::MouseButton button) {
        const bool time = history.document().axis == history::Axis::Time;
        const double plotX = static_cast<double>(x) / (time ? 1000.0 : 1.0);
        const QPointF at(history.pic->xAxis->coordToPixel(plotX), history.pic->height() / 2.0);
        QMouseEvent press(QEvent::MouseButtonPress, at, at, button, button, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, at, button, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(history.pic, &press);
        QCoreApplication::sendEvent(history.pic, &release);
    }
    void key(frmHistory& history, int code) {
        QKeyEvent event(QEvent::KeyPress, code, Qt::NoModifier);
        QCoreApplication::sendEvent(history.pic, &event);
    }
    static void finishLoading(frmHistory& history) {
        history.loader()->wait();
        QCoreApplication::sendPostedEvents();
    }
    // Appends text to the start folder's file name.
    void append(const char* name, const std::string& text) {
        std::ofstream(folder.filePath(name).toStdString(), std::ios::binary | std::ios::app)
            << text;
    }
    // The log of that name, written with text, opened from File > Open Log and read.
    frmHistory& openLog(const char* name, const std::string& text) {
        append(name, text);
        dialogs.openAnswers = {folder.filePath(name).toStdString()};
        choose("FileOpenLog");
        frmHistory& log = windowTitled(name);
        finishLoading(log);
        return log;
    }
    static const std::vector<EventMarker>& markers(frmHistory& history) {
        return Find<EventMarkers>(*history.pic, QStringLiteral("eventMarkers")).markers();
    }
    static std::size_t frames(const frmHistory& log) {
        return log.document().groups[0].series.appended();
    }
    static QString cell(const frmHistory& history, int row, int column) {
        return history.tblCursors->item(row, column)->text();
    }

    int seconds = 0;
};

struct ShownChannel {
    int inputType;
    std::optional<ChannelScale> scale;
    int decimals;
    const char* unit;
};

TEST_F(HistoryWindowTest, RunFollowsUntilPannedAndCursorsAndExportsReadTheRun) {
    startProgram();
    clock.current = {2026, 12, 6, 14, 5, 0};
    state().ChannelName[0] = "Fan, left";
    // Channels 1 to 3 as the analog view writes them.
    const std::array<ShownChannel, 3> shown{{
        {input_type::kRtd, std::nullopt, 1, " deg.C"},
        {input_type::kThermocoupleJ, std::nullopt, 0, " deg.C"},
        {input_type::kVoltage10V, ChannelScale{.gain = 0.3, .unit = "bar", .decimals = 3}, 3,
         " bar"},
    }};
    ChannelScales scales;
    for (std::size_t row = 0; row < shown.size(); ++row) {
        state().InputType[row + 1] = shown[row].inputType;
        scales[row + 1] = shown[row].scale;
    }
    run->setChannelScales(scales);
    std::vector<float> values;
    for (int i = 0; i < 10; ++i) {
        frame(i * 1000, 5000 + i * 321);
        values.push_back(state().ChannelValue[0]);
    }
    const float third = values[2];
    choose("ViewHistory");
    frmHistory& history = windowTitled("History");
    EXPECT_EQ(history.chkChannel.size(), 16u);
    EXPECT_EQ(history.chkChannel[0]->text(), "Fan, left [V]");
    EXPECT_EQ(history.pic->yAxis->label(), "V");
    // A share of the main window's area, never less than the window needs.
    auto& window = *qobject_cast<QMdiSubWindow*>(history.parentWidget());
    const QSize area = window.mdiArea()->viewport()->size();
    EXPECT_GE(window.width(), area.width() * 0.85 - 1.0);
    EXPECT_NEAR(window.height(), area.height() * 0.85, 1.0);
    EXPECT_TRUE(QRect(QPoint(), area).contains(window.geometry()));
    const std::int64_t start = run->history().firstX();
    // A run younger than ten minutes is shown whole.
    EXPECT_EQ(history.viewStart(), start);
    EXPECT_EQ(history.viewEnd(), start + 9000);

    frame(20000);
    testing::Tick(history, QStringLiteral("tmrRefresh"));
    EXPECT_EQ(history.viewEnd(), start + 10'000);
    key(history, Qt::Key_Left);
    EXPECT_FALSE(history.chkFollow->isChecked());
    EXPECT_EQ(history.viewEnd(), start + 9000);
    frame(0);
    testing::Tick(history, QStringLiteral("tmrRefresh"));
    EXPECT_EQ(history.viewEnd(), start + 9000);
    key(history, Qt::Key_Home);
    EXPECT_EQ(history.viewStart(), start);
    EXPECT_EQ(history.viewEnd(), start + 11'000);

    // Maximised, the table has room for every checked channel.
    for (std::size_t i = 0; i < history.chkChannel.size(); ++i) {
        history.chkChannel[i]->setChecked(i < 6);
    }
    window.showMaximized();
    QCoreApplication::processEvents();
    click(history, start + 2000, Qt::LeftButton);
    click(history, start + 9000, Qt::RightButton);
    QCoreApplication::processEvents();
    const QTableWidget& table = *history.tblCursors;
    ASSERT_EQ(table.rowCount(), 6);
    EXPECT_LE(table.rowViewportPosition(5) + table.rowHeight(5), table.viewport()->height());
    // Hundredths of a volt, as the analog view shows a ±10 V channel.
    EXPECT_EQ(cell(history, 0, 0), "Fan, left");
    EXPECT_EQ(cell(history, 0, 1), QLocale().toString(third, 'f', 2) + " V");
    EXPECT_EQ(cell(history, 0, 5), QLocale().toString(values[9], 'f', 2) + " V");
    const history::ReducingSeries& series = run->history().groups[0].series;
    for (std::size_t row = 0; row < shown.size(); ++row) {
        const auto column = static_cast<int>(row + 1);
        const double a = *history::ValueAt(series, column, start + 2000);
        const double b = *history::ValueAt(series, column, start + 9000);
        const double mean = history::StatsBetween(series, column, start + 2000, start + 9000).mean;
        const auto text = [&](double v) {
            return QLocale().toString(v, 'f', shown[row].decimals) + shown[row].unit;
        };
        EXPECT_EQ(QStringList({cell(history, column, 1), cell(history, column, 2),
                               cell(history, column, 3), cell(history, column, 6)}),
                  QStringList({text(a), text(b), text(b - a), text(mean)}))
            << row;
    }
    // Δt once, above the table; a pixel is about 16 ms.
    EXPECT_EQ(history.tblCursors->columnCount(), 7);
    const QString deltaT = history.lblDeltaT->text();
    EXPECT_TRUE(deltaT.startsWith("Δt: ") && deltaT.endsWith(" s")) << deltaT.toStdString();
    EXPECT_NEAR(QLocale().toDouble(deltaT.section(' ', 1, 1)), 7.0, 0.05);

    for (QCheckBox* box : history.chkChannel) {
        box->setChecked(box == history.chkChannel[0]);
    }
    dialogs.saveAnswers = {folder.filePath("run.csv").toStdString()};
    history.cmdExportCsv->click();
    const std::string csv = startFolderFile("run.csv");
    EXPECT_TRUE(csv.starts_with("time,\"Fan, left [V]\"\r\n"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 12);
    EXPECT_NE(csv.find(',' + ValueText(third) + "\r\n"), std::string::npos);

    // The plot's pixels: 1920x1080 at first, then what was typed the time before.
    const std::array<std::pair<const char*, QSize>, 3> pictures{
        {{"default.png", {}}, {"small.png", {800, 600}}, {"again.png", {}}}};
    QSize offered(1920, 1080);
    for (const auto& [name, typed] : pictures) {
        dialogs.saveAnswers = {folder.filePath(name).toStdString()};
        history.cmdExportImage->click();
        auto& size = Find<ExportPlotDialog>(history, QStringLiteral("dlgExportPlot"));
        auto& width = Find<QSpinBox>(size, QStringLiteral("spnWidth"));
        auto& height = Find<QSpinBox>(size, QStringLiteral("spnHeight"));
        EXPECT_FALSE(Find(size, QStringLiteral("cmbPaper")).isVisibleTo(&size));
        EXPECT_EQ(QSize(width.value(), height.value()), offered) << name;
        if (typed.isValid()) {
            width.setValue(typed.width());
            height.setValue(typed.height());
            offered = typed;
        }
        Find<QPushButton>(size, QStringLiteral("cmdOK")).click();
        EXPECT_EQ(QImageReader(folder.filePath(name)).size(), offered) << name;
    }
    EXPECT_TRUE(dialogs.messages.empty());
    // The exported picture's title and legend below the data are gone again.
    EXPECT_EQ(history.pic->plotLayout()->elementCount(), 1);
    EXPECT_FALSE(history.pic->legend->visible());
    EXPECT_EQ(history.pic->graph(0)->name(), "Fan, left [V]");
    const ExportDressing dressing(*history.pic, "Run", {}, {});
    history.pic->replot();
    EXPECT_FALSE(history.pic->legend->outerRect().intersects(history.pic->axisRect()->rect()));
}

TEST_F(HistoryWindowTest, OpenLogNamesColumnsAndBadLinesAndReloadsWhatWasAppended) {
    frmHistory& log = openLog("bench.csv", "SN,A,\"B, right\"\r\n1,100.5,2\r\n#\r\n2,100.15,3\r\n");
    ASSERT_EQ(log.chkChannel.size(), 2u);
    EXPECT_EQ(log.chkChannel[1]->text(), "B, right");
    EXPECT_EQ(log.pic->xAxis->label(), "Record");
    ASSERT_EQ(dialogs.nonBlockingMessages.size(), 1u);
    EXPECT_EQ(dialogs.nonBlockingMessages[0].text, "1 line could not be read: line 3");
    // A column of a log is written in as many decimals as its values have, its
    // difference without the float's noise.
    click(log, log.document().firstX(), Qt::LeftButton);
    click(log, log.document().lastX(), Qt::RightButton);
    const QStringList cells{cell(log, 0, 1), cell(log, 0, 2), cell(log, 0, 3), cell(log, 0, 6)};
    const QLocale here;
    EXPECT_EQ(cells, QStringList({here.toString(100.5, 'f', 2), here.toString(100.15, 'f', 2),
                                  here.toString(-0.35, 'f', 2), here.toString(100.33, 'f', 2)}));
    EXPECT_EQ(log.lblDeltaT->text(), "Δt: 1");

    append("bench.csv", "3,1,4\r\n4,1,5\r\n5,");
    log.cmdReload->click();
    finishLoading(log);
    EXPECT_EQ(frames(log), 4u);

    std::string more;
    for (int i = 6; i < 400'000; ++i) {
        more += std::to_string(i) + ",1,2\r\n";
    }
    append("bench.csv", more);
    log.cmdReload->click();
    log.cmdCancel->click();
    finishLoading(log);
    EXPECT_EQ(frames(log), 4u);
}

TEST_F(HistoryWindowTest, AnOpenLogFollowsWhatTheLoggerAppends) {
    frmHistory& log = openLog("growing.csv", "TIME,A\r\n10:00:00,1\r\n10:00:01,2\r\n");
    const std::int64_t start = log.document().firstX();
    auto& follow = Find<QCheckBox>(log, QStringLiteral("chkFollow"));
    EXPECT_FALSE(follow.isHidden());
    follow.click();

    append("growing.csv", "10:00:02,3\r\n10:00:0");
    testing::Tick(log, QStringLiteral("tmrRefresh"));
    EXPECT_EQ(frames(log), 3u);
    EXPECT_EQ(log.viewEnd(), start + 2000);

    // The marks changed: a column more, in a part of its own.
    append("growing.csv", "3,4\r\n10:00:04,5,6\r\n");
    testing::Tick(log, QStringLiteral("tmrRefresh"));
    EXPECT_EQ(frames(log), 4u);
    EXPECT_EQ(Find<QCheckBox>(log, "chkChannel", 2).text(), "Column 2 (part 2)");
    EXPECT_EQ(log.viewEnd(), start + 4000);
    EXPECT_TRUE(dialogs.nonBlockingMessages.empty());
}

TEST_F(HistoryWindowTest, TheRunsEventsAreMarkersThatTellTheirTextAndMayJoinTheCsv) {
    startProgram();
    clock.current = {2026, 12, 6, 14, 5, 0};
    for (int i = 0; i < 4; ++i) {
        frame(i * 1000);
    }
    clock.current.second = 2;
    clock.current.millisecond = 500;
    run->addMarker("pump \"B\", restarted");
    choose("ViewHistory");
    frmHistory& history = windowTitled("History");
    const std::int64_t at = run->history().firstX() + 2500;
    ASSERT_EQ(markers(history).size(), 1u);
    EXPECT_EQ(markers(history)[0].label, "pump \"B\", restarted");
    EXPECT_DOUBLE_EQ(markers(history)[0].x, static_cast<double>(at) / 1000.0);

    // A click on the marker tells it and leaves the cursors where they were.
    click(history, at, Qt::LeftButton);
    EXPECT_TRUE(history.lblEvent->text().endsWith("marker: pump \"B\", restarted"));
    EXPECT_EQ(history.lblCursorA->text(), "A: -");

    for (QCheckBox* box : history.chkChannel) {
        box->setChecked(box == history.chkChannel[0]);
    }
    const std::string base = folder.path().toStdString() + "/run";
    dialogs.saveAnswers = {base + ".csv", base + "-events.csv"};
    history.cmdExportCsv->click();
    EXPECT_EQ(startFolderFile("run.csv").find("pump"), std::string::npos);
    history.chkExportEvents->click();
    history.cmdExportCsv->click();
    const QStringList lines =
        QString::fromStdString(startFolderFile("run-events.csv")).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 1 + 4 + 1 + 1);  // the header, four frames, the event, the end
    EXPECT_EQ(lines[0].toStdString(), "time,Channel 0 [V],event");
    EXPECT_TRUE(lines[3].endsWith(','));
    EXPECT_TRUE(lines[4].contains(":05:02.500")) << lines[4].toStdString();
    EXPECT_TRUE(lines[4].endsWith(R"(,,"marker: pump ""B"", restarted")"));
}

TEST_F(HistoryWindowTest, DerivedChannelsShowWithTheirUnitAndAxisAndThoseOfEarlierSettingsStay) {
    startProgram();
    clock.current = {2026, 12, 6, 14, 5, 0};
    state().ChannelName[0] = "Tin";
    state().ChannelName[1] = "Tout";
    EXPECT_TRUE(run->setDerivedSettings({{{"dT", "K", 1, "Tout - Tin", false}}}).empty());
    frame(1000);
    frame(3000);
    choose("ViewHistory");
    frmHistory& history = windowTitled("History");
    ASSERT_EQ(history.chkChannel.size(), 17u);
    EXPECT_EQ(history.chkChannel[16]->text(), "dT [K]");
    // Every channel shown, in the order of the list.
    ASSERT_EQ(history.pic->graphCount(), 17);
    EXPECT_EQ(history.pic->graph(16)->name(), "dT [K]");
    EXPECT_EQ(history.pic->graph(16)->valueAxis()->label(), "K");
    EXPECT_EQ(history.pic->graph(0)->valueAxis(), history.pic->yAxis);
    EXPECT_EQ(history.pic->axisRect()->axisCount(QCPAxis::atLeft), 2);

    const std::int64_t last = run->history().lastX();
    for (QCheckBox* box : history.chkChannel) {
        box->setChecked(box == history.chkChannel[16]);
    }
    EXPECT_EQ(history.pic->axisRect()->axisCount(QCPAxis::atLeft), 1);
    click(history, last, Qt::LeftButton);
    const QString value = history.tblCursors->item(0, 1)->text();
    EXPECT_TRUE(value.endsWith(QStringLiteral(" K"))) << value.toStdString();
    EXPECT_NEAR(QLocale().toDouble(value.section(' ', 0, 0)),
                state().ChannelValue[1] - state().ChannelValue[0], 1e-3);

    // Other names: later frames go to a channel of their own, the earlier one stays.
    EXPECT_TRUE(run->setDerivedSettings({{{"total", "V", 2, "Tin + Tout", false}}}).empty());
    frame(2000);
    testing::Tick(history, QStringLiteral("tmrRefresh"));
    ASSERT_EQ(history.chkChannel.size(), 18u);
    EXPECT_EQ(history.chkChannel[16]->text(), "dT [K]");
    EXPECT_EQ(history.chkChannel[17]->text(), "total [V]");
    EXPECT_EQ(history.document().groups[2].series.appended(), 2u);
}

TEST_F(HistoryWindowTest, AnOpenedLogShowsTheEventsFileBesideItAndTellsItsBadLines) {
    append("tank.csv.events.csv",
           "time,kind,channel,level,value,text\r\n"
           "2026-12-06T14:05:10.000+01:00,alarm raised,CH3,critical,81.2,CH3 above 80\r\n"
           "2026-12-06T14:05:11,marker,,,,no offset\r\n"
           "2026-12-06T14:05:11.500+01:00,marker,,,,\"two\r\nlines\"\r\n");
    frmHistory& log = openLog("tank.csv",
                              "TIMESTAMP,A\r\n2026-12-06T14:05:09.000+01:00,1\r\n"
                              "2026-12-06T14:05:12.000+01:00,2\r\n");
    ASSERT_EQ(markers(log).size(), 2u);
    EXPECT_EQ(markers(log)[0].label, "CH3 above 80");
    EXPECT_TRUE(markers(log)[0].text.endsWith("alarm raised CH3 critical 81.2: CH3 above 80"));
    EXPECT_EQ(markers(log)[1].label, "two lines");
    EXPECT_DOUBLE_EQ(markers(log)[1].x,
                     static_cast<double>(log.document().firstX() + 2500) / 1000.0);
    ASSERT_EQ(dialogs.nonBlockingMessages.size(), 1u);
    EXPECT_EQ(dialogs.nonBlockingMessages[0].text,
              "1 line of tank.csv.events.csv could not be read and was skipped.");
}

struct Paper {
    const char* typed;  // no extension: the filter chosen gives it
    int choice;         // in the paper list
    double width;       // of the page, in points
    double height;
};

class HistoryPdfExport : public ::testing::TestWithParam<Paper> {};

TEST_P(HistoryPdfExport, APdfNamedUnderThePdfFilterIsALandscapePageOfThePaperChosen) {
    QTemporaryDir folder;
    const QString logPath = folder.filePath("bench.csv");
    std::ofstream(logPath.toStdString()) << "SN,A\r\n1,1.5\r\n2,1.75\r\n";
    platform::QtDialogs dialogs;
    frmHistory log(logPath.toStdString(), dialogs);
    log.loader()->wait();
    QCoreApplication::sendPostedEvents();
    dialogs.setOwner(&log);
    const QString typed = folder.filePath(GetParam().typed);
    // The user picks "PDF Document" and types a name without an extension.
    QTimer::singleShot(0, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* files = qobject_cast<QFileDialog*>(top); files && files->isVisible()) {
                auto& types = Find<QComboBox>(*files, QStringLiteral("fileTypeCombo"));
                QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
                QCoreApplication::sendEvent(&types, &down);
                Find<QLineEdit>(*files, QStringLiteral("fileNameEdit")).setText(typed);
                Find<QDialogButtonBox>(*files, QStringLiteral("buttonBox"))
                    .button(QDialogButtonBox::Save)
                    ->click();
            }
        }
    });
    log.cmdExportImage->click();
    auto& size = Find<ExportPlotDialog>(log, QStringLiteral("dlgExportPlot"));
    Find<QComboBox>(size, QStringLiteral("cmbPaper")).setCurrentIndex(GetParam().choice);
    Find<QPushButton>(size, QStringLiteral("cmdOK")).click();

    QFile pdf(typed + ".pdf");
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QString bytes = QString::fromLatin1(pdf.readAll());
    const QRegularExpressionMatch box =
        QRegularExpression(R"(/MediaBox\s*\[\s*0 0 ([0-9.]+) ([0-9.]+)\s*\])").match(bytes);
    ASSERT_TRUE(box.hasMatch());
    EXPECT_NEAR(box.captured(1).toDouble(), GetParam().width, 0.5);
    EXPECT_NEAR(box.captured(2).toDouble(), GetParam().height, 0.5);
}

INSTANTIATE_TEST_SUITE_P(Papers, HistoryPdfExport,
                         ::testing::Values(Paper{"a4", 0, 841.89, 595.28},
                                           Paper{"letter", 1, 792.0, 612.0}));

}  // namespace
}  // namespace vantrel
