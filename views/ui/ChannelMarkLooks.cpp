#include "views/ui/ChannelMarkLooks.h"

#include <QLabel>

namespace vantrel {

QColor AlarmColour(alarms::AlarmLevel level) {
    return level == alarms::AlarmLevel::Critical ? QColor(204, 0, 0) : QColor(255, 176, 0);
}

QColor AlarmTextColour(alarms::AlarmLevel level) {
    return level == alarms::AlarmLevel::Critical ? QColor(Qt::white) : QColor(Qt::black);
}

void ShowChannelMark(QLabel& label, const ChannelMark& mark, const QPalette& normal,
                     bool normalFill) {
    QPalette colours = normal;
    if (mark.alarm) {
        colours.setColor(QPalette::Window, AlarmColour(*mark.alarm));
        colours.setColor(QPalette::WindowText, AlarmTextColour(*mark.alarm));
    }
    if (!mark.live) {
        colours.setColor(QPalette::WindowText, kNotLiveTextColour);
    }
    if (label.palette() != colours) {
        label.setPalette(colours);
    }
    label.setAutoFillBackground(normalFill || mark.alarm.has_value());
    const QString tip = QString::fromStdString(NotLiveText(mark));
    if (label.toolTip() != tip) {
        label.setToolTip(tip);
        label.setAccessibleDescription(tip);
    }
}

}  // namespace vantrel
