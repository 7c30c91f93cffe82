#include "app/AppIdentity.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>

namespace vantrel {

void SetApplicationIdentity() {
    QCoreApplication::setApplicationName(QStringLiteral("Vantrel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTREL_VERSION));
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.vantrel.Vantrel"));
}

void SetApplicationIcon() {
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/org.vantrel.Vantrel.png")));
}

}  // namespace vantrel
