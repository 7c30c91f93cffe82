#include "views/ui/ValueText.h"

#include "engine/InputTypes.h"
#include "platform/qt/ScreenNumbers.h"

namespace vantrel {

QString ChannelValueText(float value, int inputType) {
    return FixedText(static_cast<double>(value), input_type::DecimalsForInputType(inputType));
}

}  // namespace vantrel
