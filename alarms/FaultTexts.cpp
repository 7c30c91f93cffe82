#include "alarms/FaultTexts.h"

#include "alarms/RuleText.h"

namespace vantrel::alarms {

const char* FaultText(AlarmKind kind) {
    switch (kind) {
        case AlarmKind::LoopLow:
            return "Loop open or transmitter failed (below 3.6 mA)";
        case AlarmKind::LoopHigh:
            return "Loop shorted or transmitter failed (above 21.0 mA)";
        case AlarmKind::BelowTable:
            return "Reading below the sensor's table (sensor shorted or reversed)";
        case AlarmKind::AboveTable:
            return "Reading above the sensor's table (sensor open or broken)";
        case AlarmKind::PortLost:
            return "COM lost: the card's port went away";
        case AlarmKind::NoAnswer:
            return "No answer: the card does not answer";
        case AlarmKind::NoData:
            return "No data: the card's frames stopped";
        case AlarmKind::ConversionFailed:
            return "Conversion failed";
        case AlarmKind::Rule:
            break;
    }
    return "";
}

std::string ConversionFaultText(const ConversionFailure& failure, int slot) {
    if (slot != failure.slot) {
        return "Not converted: " + ChannelName(failure.slot) + " failed before it";
    }
    switch (failure.kind) {
        case ConversionFailure::Kind::DivisionByZero:
            return "Conversion failed: division by zero";
        case ConversionFailure::Kind::IndexOutOfRange:
            return "Conversion failed: index out of range";
        case ConversionFailure::Kind::Overflow:
            break;
    }
    return "Conversion failed: overflow";
}

std::string CardName(int card) {
    return "card " + std::to_string(card + 1);
}

const char* LevelText(AlarmLevel level) {
    return level == AlarmLevel::Critical ? "critical" : "warning";
}

const char* EventKindText(AlarmEvent::Kind kind) {
    switch (kind) {
        case AlarmEvent::Kind::Cleared:
            return "cleared";
        case AlarmEvent::Kind::Acknowledged:
            return "acknowledged";
        case AlarmEvent::Kind::Raised:
            break;
    }
    return "raised";
}

}  // namespace vantrel::alarms
