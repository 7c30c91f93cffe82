#include "setup/ui/ColourLamp.h"

#include <QPalette>

namespace vantrel {

ColourLamp::ColourLamp(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setFixedSize(16, 16);
    setAutoFillBackground(true);
}

void ColourLamp::setColour(platform::Rgb colour, const std::string& name) {
    colour_ = colour;
    QPalette shade = palette();
    shade.setColor(QPalette::Window, QColor(colour.red, colour.green, colour.blue));
    setPalette(shade);
    setAccessibleDescription(QString::fromStdString(name));
}

}  // namespace vantrel
