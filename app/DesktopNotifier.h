#pragma once

// A desktop notification through the freedesktop notification service on the
// session bus. Without a session bus or the service (or a build without QtDBus)
// nothing is shown and nothing fails: the alarm list and the status bar still say
// it.

#include <QString>

namespace vantrel {

// Whether the notification was handed to the service.
bool NotifyDesktop(const QString& summary, const QString& body);

}  // namespace vantrel
