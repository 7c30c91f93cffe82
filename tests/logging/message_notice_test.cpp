// The logger's failure notice is a non-blocking message box. The logger shows no
// second notice while one is open, so it must learn of every way the box goes,
// including with the window it sits on.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>

#include "platform/qt/QtDialogs.h"

namespace vantrel {
namespace {

QMessageBox* OpenBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

TEST(NonBlockingNotice, ClosedByTheUserReportsOnce) {
    platform::QtDialogs dialogs;
    int closed = 0;
    dialogs.showMessageNonBlocking({"text", "Save Error", platform::MessageIcon::Warning},
                                   [&] { ++closed; });
    QMessageBox* box = OpenBox();
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(box->isModal());
    EXPECT_EQ(closed, 0);
    box->button(QMessageBox::Ok)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(closed, 1);
}

TEST(NonBlockingNotice, GoneWithItsWindowStillReports) {
    auto* owner = new QDialog;
    owner->show();
    platform::QtDialogs dialogs(owner);
    int closed = 0;
    dialogs.showMessageNonBlocking({"text", "Save Error", platform::MessageIcon::Warning},
                                   [&] { ++closed; });
    delete owner;
    EXPECT_EQ(closed, 1);
}

}  // namespace
}  // namespace vantrel
