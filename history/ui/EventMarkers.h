#pragma once

// The events of a run or a log drawn over the History plot as vertical lines,
// each with a short label while few are in view. One item draws them all, so
// thousands of events cost one pass per redraw, and the PNG and PDF exports draw
// them as the screen does.

#include <qcustomplot.h>

#include <QString>
#include <optional>
#include <vector>

namespace vantrel {

struct EventMarker {
    double x = 0.0;  // in plot units
    QString label;   // on the plot
    QString text;    // when the marker is clicked or hovered
};

class EventMarkers : public QCPAbstractItem {
    Q_OBJECT

  public:
    // Labelled only while at most this many are in view.
    static constexpr int kMostLabelled = 40;

    explicit EventMarkers(QCustomPlot* plot);

    // In the order of x.
    void setMarkers(std::vector<EventMarker> markers);
    const std::vector<EventMarker>& markers() const { return markers_; }
    // The marker drawn nearest to pixel x, within slop pixels.
    std::optional<std::size_t> markerAt(double pixelX, double slop) const;

    double selectTest(const QPointF& pos, bool onlySelectable,
                      QVariant* details = nullptr) const override;

  protected:
    void draw(QCPPainter* painter) override;

  private:
    std::vector<EventMarker> markers_;
};

}  // namespace vantrel
