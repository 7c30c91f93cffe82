#include "platform/qt/QtClock.h"

#include <QDateTime>

namespace vantrel::platform {

DateTime QtClock::now() const {
    const QDateTime current = QDateTime::currentDateTime();
    const QDate date = current.date();
    const QTime time = current.time();
    return DateTime{date.year(),   date.month(),  date.day(),  time.hour(),
                    time.minute(), time.second(), time.msec(), current.offsetFromUtc() / 60};
}

}  // namespace vantrel::platform
