#pragma once

// A small filled square showing a state by its colour; screen readers and tests
// read the colour's name from the accessible description.

#include <QFrame>
#include <string>

#include "platform/Color.h"

namespace vantrel {

class ColourLamp : public QFrame {
    Q_OBJECT

  public:
    explicit ColourLamp(QWidget* parent = nullptr);

    void setColour(platform::Rgb colour, const std::string& name);
    platform::Rgb colour() const { return colour_; }

  private:
    platform::Rgb colour_{};
};

}  // namespace vantrel
