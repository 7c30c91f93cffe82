#include "platform/qt/ScreenNumbers.h"

#include <QLocale>

namespace vantrel {

namespace {

// The user's locale as QLocale's default gives it (tests set a decimal-comma one).
QLocale ScreenLocale() {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

}  // namespace

QString FixedText(double value, int decimals) {
    return ScreenLocale().toString(value, 'f', decimals);
}

QString ShortestText(float value) {
    return ScreenLocale().toString(static_cast<double>(value), 'g', 7);
}

}  // namespace vantrel
