#include "history/ui/HistoryPlot.h"

#include <QHelpEvent>
#include <QToolTip>

namespace vantrel {

namespace {
// Further than this between press and release is a drag, not a click.
constexpr double kClickSlopPixels = 4.0;
}  // namespace

HistoryPlot::HistoryPlot(QWidget* parent) : QCustomPlot(parent) {
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    axisRect()->setRangeDrag(Qt::Horizontal);
    axisRect()->setRangeZoom(Qt::Horizontal);
    setFocusPolicy(Qt::StrongFocus);
    setNoAntialiasingOnDrag(true);
    // Thousands of short segments per channel: one polyline each, drawn without
    // antialiasing, keep a redraw within a frame.
    setPlottingHint(QCP::phFastPolylines, true);
    setNotAntialiasedElements(QCP::aePlottables);
    markers_ = new EventMarkers(this);
}

void HistoryPlot::mousePressEvent(QMouseEvent* event) {
    pressedAt_ = event->position();
    // A rubber band only with Ctrl, so that a plain drag still pans.
    setSelectionRectMode((event->modifiers() & Qt::ControlModifier) ? QCP::srmZoom : QCP::srmNone);
    QCustomPlot::mousePressEvent(event);
}

void HistoryPlot::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = (event->position() - pressedAt_).manhattanLength() < kClickSlopPixels &&
                       !(event->modifiers() & Qt::ControlModifier);
    QCustomPlot::mouseReleaseEvent(event);
    const std::optional<std::size_t> marker =
        click && event->button() == Qt::LeftButton
            ? markers_->markerAt(event->position().x(), kClickSlopPixels)
            : std::nullopt;
    if (marker) {
        emit markerClicked(*marker);
    } else if (click && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        emit cursorPlaced(event->button() == Qt::LeftButton ? 0 : 1,
                          xAxis->pixelToCoord(event->position().x()));
    }
}

bool HistoryPlot::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (const auto marker = markers_->markerAt(help->pos().x(), kClickSlopPixels)) {
            QToolTip::showText(help->globalPos(), markers_->markers()[*marker].text, this);
            return true;
        }
    }
    return QCustomPlot::event(event);
}

}  // namespace vantrel
