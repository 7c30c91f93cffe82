// The main window's Window menu: cascade, tile and close the child windows, and
// the list of the open ones, the active one checked, to bring one to the front.

#include <QActionGroup>

#include "app/mdiDaq.h"

namespace vantrel {

void mdiDaq::connectWindowMenu() {
    connect(WindowCascade, &QAction::triggered, mdiArea_, &QMdiArea::cascadeSubWindows);
    connect(WindowTile, &QAction::triggered, mdiArea_, &QMdiArea::tileSubWindows);
    connect(WindowClose, &QAction::triggered, mdiArea_, &QMdiArea::closeActiveSubWindow);
    connect(WindowCloseAll, &QAction::triggered, mdiArea_, &QMdiArea::closeAllSubWindows);
    connect(Window, &QMenu::aboutToShow, this, &mdiDaq::showWindowList);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &mdiDaq::enableWindowItems);
    enableWindowItems();
}

void mdiDaq::enableWindowItems() {
    const bool any = !mdiArea_->subWindowList().isEmpty();
    for (QAction* item : {WindowCascade, WindowTile, WindowCloseAll}) {
        item->setEnabled(any);
    }
    WindowClose->setEnabled(mdiArea_->activeSubWindow() != nullptr);
}

void mdiDaq::showWindowList() {
    enableWindowItems();
    qDeleteAll(WindowList);
    WindowList.clear();
    auto* group = new QActionGroup(Window);
    const QList<QMdiSubWindow*> frames = mdiArea_->subWindowList();
    for (qsizetype k = 0; k < frames.size(); ++k) {
        QMdiSubWindow* frame = frames[k];
        // The first nine are reached by their number.
        const QString number = k < 9 ? QStringLiteral("&%1").arg(k + 1) : QString::number(k + 1);
        QAction* item = Window->addAction(number + QLatin1Char(' ') + frame->windowTitle());
        item->setObjectName(QStringLiteral("WindowList_%1").arg(k));
        item->setCheckable(true);
        item->setChecked(frame == mdiArea_->activeSubWindow());
        item->setActionGroup(group);
        connect(item, &QAction::triggered, this, [this, frame = QPointer<QMdiSubWindow>(frame)] {
            if (frame) {
                bringToFront(frame->widget());
            }
        });
        WindowList.append(item);
    }
}

}  // namespace vantrel
