#pragma once

// The colours of an alarm's level, shared by the views and the main window's
// status bar, and a value label marked as its channel stands.

#include <QColor>
#include <QPalette>

#include "alarms/AlarmRule.h"
#include "views/ChannelMarks.h"

class QLabel;

namespace vantrel {

// Critical red, warning amber; each with the text colour that reads on it.
QColor AlarmColour(alarms::AlarmLevel level);
QColor AlarmTextColour(alarms::AlarmLevel level);
// The text of a value that is not live.
inline const QColor kNotLiveTextColour(140, 140, 140);

// The label's palette is normal, with the alarm's colours behind a channel in
// alarm and grey text for a value that is not live, whose tool tip says since
// when.
void ShowChannelMark(QLabel& label, const ChannelMark& mark, const QPalette& normal,
                     bool normalFill);

}  // namespace vantrel
