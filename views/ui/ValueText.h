#pragma once

// How the live views write numbers: fixed decimals chosen by the channel's input
// type, the user's decimal separator, no thousands separator.

#include <QLocale>
#include <QString>

namespace vantrel {

// 2 for the voltage and current types (0..3), 1 for PT-100 (4), none for the
// thermocouples and any other code.
int DecimalsForInputType(int inputType);

QString ChannelValueText(float value, int inputType, const QLocale& locale = QLocale());

// Shortest general form with up to 7 significant digits: 25, 25.5, 24.87.
QString ShortestText(float value, const QLocale& locale = QLocale());

}  // namespace vantrel
