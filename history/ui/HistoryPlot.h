#pragma once

// The History window's plot: QCustomPlot dragging and wheel-zooming the time axis
// only (the values axis follows the data in view), a rubber band with Ctrl held,
// and a click without dragging to place cursor A (left button) or B (right). The
// run's events are drawn over it; a left click on one, or the mouse resting on it,
// tells its text instead.

#include <qcustomplot.h>

#include "history/ui/EventMarkers.h"

namespace vantrel {

class HistoryPlot : public QCustomPlot {
    Q_OBJECT

  public:
    explicit HistoryPlot(QWidget* parent = nullptr);
    EventMarkers* markers() const { return markers_; }

  signals:
    // x in plot units.
    void cursorPlaced(int which, double x);
    // The marker at index in markers() was clicked.
    void markerClicked(std::size_t index);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

  private:
    QPointF pressedAt_;
    EventMarkers* markers_ = nullptr;
};

}  // namespace vantrel
