#pragma once

// The History window's plot: QCustomPlot dragging and wheel-zooming the time axis
// only (the values axis follows the data in view), a rubber band with Ctrl held,
// and a click without dragging to place cursor A (left button) or B (right).

#include <qcustomplot.h>

namespace vantrel {

class HistoryPlot : public QCustomPlot {
    Q_OBJECT

  public:
    explicit HistoryPlot(QWidget* parent = nullptr);

  signals:
    // x in plot units.
    void cursorPlaced(int which, double x);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    QPointF pressedAt_;
};

}  // namespace vantrel
