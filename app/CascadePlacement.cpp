#include "app/CascadePlacement.h"

#include <QStyle>
#include <algorithm>

namespace vantrel {

QPoint NextCascadePosition(const QList<QPoint>& taken, QSize window, QSize area, int step) {
    const int roomRight = area.width() - window.width();
    const int roomBelow = area.height() - window.height();
    // A window larger than the area can only open at the top left.
    const int steps =
        step > 0 && roomRight > 0 && roomBelow > 0 ? std::min(roomRight, roomBelow) / step + 1 : 1;
    for (int k = 0; k < steps; ++k) {
        const QPoint at(k * step, k * step);
        if (!taken.contains(at)) {
            return at;
        }
    }
    // Every step is taken: the next round of the cascade, on top of the first.
    const int k = static_cast<int>(taken.size() % steps);
    return {k * step, k * step};
}

QSize GrowingWindowSize(QSize area, QSize least) {
    constexpr int kShareNumerator = 3;
    constexpr int kShareDenominator = 4;
    const QSize share(area.width() * kShareNumerator / kShareDenominator,
                      area.height() * kShareNumerator / kShareDenominator);
    return share.expandedTo(least).boundedTo(area);
}

void SizeToShareOfArea(QMdiArea& area, QMdiSubWindow& frame) {
    frame.resize(GrowingWindowSize(area.viewport()->size(), frame.sizeHint()));
}

void PlaceInCascade(QMdiArea& area, QMdiSubWindow& frame) {
    QList<QPoint> taken;
    for (const QMdiSubWindow* open : area.subWindowList()) {
        if (open != &frame && open->isVisible()) {
            taken.append(open->pos());
        }
    }
    const int step = frame.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &frame);
    frame.move(NextCascadePosition(taken, frame.size(), area.viewport()->size(), step));
}

}  // namespace vantrel
