#include "history/ui/EventMarkers.h"

#include <algorithm>
#include <cmath>

namespace vantrel {

namespace {
const QColor kMarkerColour(200, 120, 0);
}  // namespace

EventMarkers::EventMarkers(QCustomPlot* plot) : QCPAbstractItem(plot) {
    setObjectName(QStringLiteral("eventMarkers"));
    setSelectable(false);
}

void EventMarkers::setMarkers(std::vector<EventMarker> markers) {
    markers_ = std::move(markers);
}

std::optional<std::size_t> EventMarkers::markerAt(double pixelX, double slop) const {
    std::optional<std::size_t> nearest;
    double best = slop;
    for (std::size_t i = 0; i < markers_.size(); ++i) {
        const double distance =
            std::fabs(parentPlot()->xAxis->coordToPixel(markers_[i].x) - pixelX);
        if (distance <= best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

double EventMarkers::selectTest(const QPointF&, bool, QVariant*) const {
    // Clicks go to the plot, which asks markerAt.
    return -1.0;
}

void EventMarkers::draw(QCPPainter* painter) {
    const QRect area = clipRect();
    QCPAxis* axis = parentPlot()->xAxis;
    std::vector<std::pair<double, const QString*>> inView;
    for (const EventMarker& marker : markers_) {
        const double x = axis->coordToPixel(marker.x);
        if (x >= area.left() && x <= area.right()) {
            inView.emplace_back(x, &marker.label);
        }
    }
    painter->setPen(QPen(kMarkerColour, 1, Qt::SolidLine));
    for (const auto& [x, label] : inView) {
        painter->drawLine(QLineF(x, area.top(), x, area.bottom()));
    }
    if (inView.size() > static_cast<std::size_t>(kMostLabelled)) {
        return;
    }
    // Up the line from its foot, so that labels of close markers do not overlap.
    QFont font = parentPlot()->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    painter->setFont(font);
    for (const auto& [x, label] : inView) {
        painter->save();
        painter->translate(x - 3.0, area.bottom() - 4.0);
        painter->rotate(-90.0);
        painter->drawText(QPointF(0.0, 0.0), *label);
        painter->restore();
    }
}

}  // namespace vantrel
