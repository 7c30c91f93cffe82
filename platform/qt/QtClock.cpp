#include "platform/qt/QtClock.h"

#include <QDateTime>

#include "platform/DateTimeText.h"

namespace vantrel::platform {

int UtcOffsetMinutesAt(std::int64_t utcMilliseconds) {
    return QDateTime::fromMSecsSinceEpoch(utcMilliseconds).offsetFromUtc() / 60;
}

std::int64_t LocalTimeToUtcMilliseconds(const DateTime& local) {
    const QDateTime time(QDate(local.year, local.month, local.day),
                         QTime(local.hour, local.minute, local.second, local.millisecond),
                         Qt::LocalTime);
    return static_cast<std::int64_t>(time.toMSecsSinceEpoch());
}

DateTime QtClock::now() const {
    // One reading: the civil time and its offset belong to the same moment.
    const std::int64_t utcMilliseconds = QDateTime::currentMSecsSinceEpoch();
    return LocalDateTime(utcMilliseconds, UtcOffsetMinutesAt(utcMilliseconds));
}

}  // namespace vantrel::platform
