#include "app/DesktopNotifier.h"

#ifdef VANTREL_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>
#endif

namespace vantrel {

bool NotifyDesktop(const QString& summary, const QString& body) {
#ifdef VANTREL_HAVE_DBUS
    const QString service = QStringLiteral("org.freedesktop.Notifications");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || bus.interface() == nullptr ||
        !bus.interface()->isServiceRegistered(service).value()) {
        return false;
    }
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/Notifications"),
                                       service, QStringLiteral("Notify"));
    // app name, replaces id, icon, summary, body, actions, hints, timeout (-1: the
    // server's own).
    call << QStringLiteral("Vantrel") << 0U << QString() << summary << body << QStringList()
         << QVariantMap() << -1;
    // Not waited for: a slow notification server never holds up the run.
    return bus.send(call);
#else
    (void)summary;
    (void)body;
    return false;
#endif
}

}  // namespace vantrel
