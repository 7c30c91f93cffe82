#include "views/ui/ValueText.h"

#include "engine/InputTypes.h"
#include "platform/qt/ScreenNumbers.h"

namespace vantrel {

int DecimalsForInputType(int inputType) {
    // Voltages and currents to hundredths, the PT-100 to tenths of a degree, the
    // thermocouples (whose search works in half degrees) and unknown codes whole.
    if (inputType >= input_type::kVoltage10V && inputType <= input_type::kMillivolt200) {
        return 2;
    }
    return inputType == input_type::kRtd ? 1 : 0;
}

QString ChannelValueText(float value, int inputType) {
    return FixedText(static_cast<double>(value), DecimalsForInputType(inputType));
}

}  // namespace vantrel
