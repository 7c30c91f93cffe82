#pragma once

// The trend's drawing surface `pic`: paints the grid and the latest drawing on a
// 12000 x 12000 logical area stretched over the widget, the chart's lines cut to
// the plot area. Lines scale with the widget; texts keep their pixel size, so they
// stay readable at any size.

#include <QWidget>
#include <vector>

#include "views/TrendModel.h"

class QPainter;

namespace vantrel {

class TrendSurface : public QWidget {
    Q_OBJECT

  public:
    explicit TrendSurface(QWidget* parent = nullptr);

    // Replaces what was drawn ("clears the surface"); the grid stays.
    void setDrawing(TrendDrawing drawing);
    const TrendDrawing& drawing() const { return drawing_; }

    // Paints grid and drawing into `area` of any paint device.
    static void paint(QPainter& painter, const QRect& area, const std::vector<TrendLine>& grid,
                      const TrendDrawing& drawing);

    QSize sizeHint() const override { return {720, 240}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::vector<TrendLine> grid_;
    TrendDrawing drawing_;
};

}  // namespace vantrel
