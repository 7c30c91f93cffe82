#include "views/ui/FilledShape.h"

#include <QPainter>

namespace vantrel {

FilledShape::FilledShape(const QColor& fill, QWidget* parent) : QWidget(parent), fill_(fill) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void FilledShape::setFillColor(const QColor& fill) {
    if (fill == fill_) {
        return;
    }
    fill_ = fill;
    update();
}

void FilledShape::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.setBrush(fill_);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace vantrel
