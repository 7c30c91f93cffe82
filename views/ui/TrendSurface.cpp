#include "views/ui/TrendSurface.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace vantrel {

namespace {

QColor toQColor(const platform::Rgb& rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

// Values far beyond the range put end points millions of units off the surface
// (or at infinity); the raster engine neither needs nor copes well with those.
// Cutting each segment to a margin around the surface draws exactly the visible
// part and keeps every coordinate small.
constexpr double kCutMin = -kTrendLogicalSize;
constexpr double kCutMax = 2.0 * kTrendLogicalSize;
// Far enough that a segment's slope over the surface does not visibly change,
// near enough that the cut below keeps its precision in double.
constexpr double kFar = 1e9;

double tame(double v) {
    return std::isnan(v) ? v : std::clamp(v, -kFar, kFar);
}

std::optional<QLineF> visiblePart(const TrendLine& line) {
    const double x1 = tame(line.x1), y1 = tame(line.y1);
    const double x2 = tame(line.x2), y2 = tame(line.y2);
    if (std::isnan(x1) || std::isnan(y1) || std::isnan(x2) || std::isnan(y2)) {
        return std::nullopt;
    }
    const bool inside = x1 >= kCutMin && x1 <= kCutMax && y1 >= kCutMin && y1 <= kCutMax &&
                        x2 >= kCutMin && x2 <= kCutMax && y2 >= kCutMin && y2 <= kCutMax;
    if (inside) {
        return QLineF(x1, y1, x2, y2);
    }
    // Liang-Barsky: keep the parameter interval [t0, t1] inside all four edges.
    const double dx = x2 - x1, dy = y2 - y1;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - kCutMin, kCutMax - x1, y1 - kCutMin, kCutMax - y1};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) {
                return std::nullopt;
            }
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return std::nullopt;
        }
    }
    return QLineF(x1 + t0 * dx, y1 + t0 * dy, x1 + t1 * dx, y1 + t1 * dy);
}

void drawLines(QPainter& painter, const std::vector<TrendLine>& lines) {
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
        if (auto part = visiblePart(line)) {
            batch.push_back(*part);
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
    drawLines(painter, grid);
    // The labels are written before the lines, so a line crossing a label covers it.
    const QTransform toDevice = painter.combinedTransform();
    painter.save();
    painter.resetTransform();
    const int ascent = QFontMetrics(painter.font()).ascent();
    for (const TrendText& text : drawing.texts) {
        const QPointF topLeft = toDevice.map(QPointF(text.x, text.y));
        painter.setPen(toQColor(text.color));
        painter.drawText(QPointF(topLeft.x(), topLeft.y() + ascent),
                         QString::fromStdString(text.text));
    }
    painter.restore();
    drawLines(painter, drawing.lines);
    painter.restore();
}

void TrendSurface::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, rect(), grid_, drawing_);
}

}  // namespace vantrel
