#pragma once

// A window whose controls scroll when the window is smaller than they need, so that
// a small screen never cuts off the buttons at the bottom.

#include <QWidget>

namespace vantrel::platform {

// Fills window with a scrolling page and returns the page, on which the caller lays
// out the controls. Where there is room the window still opens at the page's full
// size.
QWidget* AddScrollingPage(QWidget* window);

}  // namespace vantrel::platform
