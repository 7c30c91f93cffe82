#include "views/ui/ValueText.h"

#include "engine/InputTypes.h"

namespace vantrel {

namespace {

QLocale withoutGroups(QLocale locale) {
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

}  // namespace

int DecimalsForInputType(int inputType) {
    // Voltages and currents to hundredths, the PT-100 to tenths of a degree, the
    // thermocouples (whose search works in half degrees) and unknown codes whole.
    if (inputType >= input_type::kVoltage10V && inputType <= input_type::kMillivolt200) {
        return 2;
    }
    return inputType == input_type::kRtd ? 1 : 0;
}

QString ChannelValueText(float value, int inputType, const QLocale& locale) {
    return withoutGroups(locale).toString(static_cast<double>(value), 'f',
                                          DecimalsForInputType(inputType));
}

QString ShortestText(float value, const QLocale& locale) {
    return withoutGroups(locale).toString(static_cast<double>(value), 'g', 7);
}

}  // namespace vantrel
