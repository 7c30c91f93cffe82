#include "platform/qt/ScrollingPage.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace vantrel::platform {

namespace {

class FullPageScrollArea : public QScrollArea {
  public:
    using QScrollArea::QScrollArea;

    // A plain scroll area asks for a few dozen lines at most, which would open the
    // window scrolled even on a large screen. This one asks for the whole page, and
    // for the vertical bar's width too, so that a window cut short in height only
    // does not need sideways scrolling as well.
    QSize sizeHint() const override {
        const QWidget* page = widget();
        if (page == nullptr) {
            return QScrollArea::sizeHint();
        }
        const int frame = 2 * frameWidth();
        return page->sizeHint() + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
    }
};

}  // namespace

QWidget* AddScrollingPage(QWidget* window) {
    auto* scroll = new FullPageScrollArea(window);
    scroll->setObjectName(QStringLiteral("scrollPage"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("page"));
    scroll->setWidget(page);

    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    return page;
}

}  // namespace vantrel::platform
