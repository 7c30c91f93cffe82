#include "views/ui/ValueText.h"

#include "engine/InputTypes.h"

namespace vantrel {

namespace {

QLocale withoutGroups(QLocale locale) {
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

}  // namespace

QString ChannelValueText(float value, int inputType, const QLocale& locale) {
    return withoutGroups(locale).toString(static_cast<double>(value), 'f',
                                          input_type::DecimalsForInputType(inputType));
}

QString ShortestText(float value, const QLocale& locale) {
    return withoutGroups(locale).toString(static_cast<double>(value), 'g', 7);
}

}  // namespace vantrel
