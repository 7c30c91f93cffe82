#include "views/ui/ValueText.h"

#include "engine/InputTypes.h"
#include "platform/qt/ScreenNumbers.h"

namespace vantrel {

QString ChannelValueText(float value, int inputType) {
    return FixedText(static_cast<double>(value), input_type::DecimalsForInputType(inputType));
}

QString ScaledValueText(double scaled, int inputType, const ChannelScale& scale) {
    const QString number =
        FixedText(scaled, scale.decimals.value_or(input_type::DecimalsForInputType(inputType)));
    return scale.unit.empty() ? number
                              : number + QLatin1Char(' ') + QString::fromStdString(scale.unit);
}

}  // namespace vantrel
