#pragma once

// Where a new child window opens inside the main window's frame, and how large: a
// cascade from the top left, so that each window's title bar stays in sight; a
// window whose content grows with it takes a share of the frame.

#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPoint>
#include <QSize>

namespace vantrel {

// The first step of the cascade that no open window occupies; each step is `step`
// pixels down and to the right of the one before. The cascade starts over at the
// top left where the window would reach past the area's right or bottom edge.
QPoint NextCascadePosition(const QList<QPoint>& taken, QSize window, QSize area, int step);

// The opening size of a window whose content grows (a chart, a list): three
// quarters of the area each way, at least `least` (its design size), and
// never larger than the area. A fixed form keeps its design size instead.
QSize GrowingWindowSize(QSize area, QSize least);

// Resizes a frame just added to the area to GrowingWindowSize, before it is placed.
void SizeToShareOfArea(QMdiArea& area, QMdiSubWindow& frame);

// Moves a frame just added to the area to the next free step, one title bar's
// height apart.
void PlaceInCascade(QMdiArea& area, QMdiSubWindow& frame);

}  // namespace vantrel
