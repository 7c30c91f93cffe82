#include "views/ui/TrendSurface.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <optional>

#include "views/TrendClipping.h"

namespace vantrel {

namespace {

QColor toQColor(const platform::Rgb& rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

// The grid as it stands; the chart's lines cut to the plot area.
enum class Cut { None, ToPlotArea };

void drawLines(QPainter& painter, const std::vector<TrendLine>& lines, Cut cut) {
    QVector<QLineF> batch;
    batch.reserve(static_cast<qsizetype>(std::min<std::size_t>(lines.size(), 1024)));
    std::optional<platform::Rgb> batchColor;
    const auto flush = [&] {
        if (!batch.isEmpty()) {
            painter.setPen(QPen(toQColor(*batchColor), 0));
            painter.drawLines(batch);
            batch.clear();
        }
    };
    for (const TrendLine& line : lines) {
        if (batchColor != line.color) {
            flush();
            batchColor = line.color;
        }
        if (cut == Cut::None) {
            batch.push_back(QLineF(line.x1, line.y1, line.x2, line.y2));
        } else if (std::optional<TrendLine> part = PlotAreaPart(line)) {
            batch.push_back(QLineF(part->x1, part->y1, part->x2, part->y2));
        }
    }
    flush();
}

}  // namespace

TrendSurface::TrendSurface(QWidget* parent) : QWidget(parent), grid_(TrendGrid()) {
    setObjectName(QStringLiteral("pic"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(300, 120);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrendSurface::setDrawing(TrendDrawing drawing) {
    drawing_ = std::move(drawing);
    update();
}

void TrendSurface::paint(QPainter& painter, const QRect& area, const std::vector<TrendLine>& grid,
                         const TrendDrawing& drawing) {
    painter.save();
    painter.fillRect(area, Qt::black);
    painter.setClipRect(area);
    painter.setViewport(area);
    painter.setWindow(0, 0, kTrendLogicalSize, kTrendLogicalSize);
    // White inside the grid, as in History, so the channels' palette shows alike.
    constexpr qreal kPlotSpan = kTrendPlotMax - kTrendPlotMin;
    painter.fillRect(QRectF(kTrendPlotMin, kTrendPlotMin, kPlotSpan, kPlotSpan), Qt::white);
    drawLines(painter, grid, Cut::None);
    // The labels are written before the lines, each on black where it reaches into
    // the white of the plot area.
    const QTransform toDevice = painter.combinedTransform();
    painter.save();
    painter.resetTransform();
    const QFontMetrics metrics(painter.font());
    for (const TrendText& text : drawing.texts) {
        const QPointF topLeft = toDevice.map(QPointF(text.x, text.y));
        const QString shown = QString::fromStdString(text.text);
        painter.fillRect(
            QRectF(topLeft, QSizeF(metrics.horizontalAdvance(shown), metrics.height())), Qt::black);
        painter.setPen(toQColor(text.color));
        painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), shown);
    }
    painter.restore();
    drawLines(painter, drawing.lines, Cut::ToPlotArea);
    painter.restore();
}

void TrendSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, rect(), grid_, drawing_);
}

}  // namespace vantrel
