#include "views/ValueText.h"

namespace vantrel {

namespace {

QLocale withoutGroups(QLocale locale) {
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

}  // namespace

int DecimalsForInputType(int inputType) {
    if (inputType >= 0 && inputType <= 3) {
        return 2;
    }
    return inputType == 4 ? 1 : 0;
}

QString ChannelValueText(float value, int inputType, const QLocale& locale) {
    return withoutGroups(locale).toString(static_cast<double>(value), 'f',
                                          DecimalsForInputType(inputType));
}

QString ShortestText(float value, const QLocale& locale) {
    return withoutGroups(locale).toString(static_cast<double>(value), 'g', 7);
}

}  // namespace vantrel
