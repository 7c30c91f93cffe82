#pragma once

// How the live views write numbers: fixed decimals chosen by the channel's input
// type, the user's decimal separator, no thousands separator.

#include <QLocale>
#include <QString>

namespace vantrel {

QString ChannelValueText(float value, int inputType, const QLocale& locale = QLocale());

// Shortest general form with up to 7 significant digits: 25, 25.5, 24.87.
QString ShortestText(float value, const QLocale& locale = QLocale());

}  // namespace vantrel
