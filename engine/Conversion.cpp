#include <cmath>
#include <limits>
#include <variant>

#include "engine/ModMain.h"
#include "engine/ThermocoupleTables.h"

namespace vantrel {

std::string ConversionFailure::message() const {
    const char* description = "Overflow";
    switch (kind) {
        case Kind::DivisionByZero:
            description = "Division by zero";
            break;
        case Kind::Overflow:
            description = "Overflow";
            break;
        case Kind::IndexOutOfRange:
            description = "Index out of range";
            break;
    }
    return description + std::to_string(slot);
}

namespace modMain {

namespace {

using Kind = ConversionFailure::Kind;
// A converted value, or why the slot could not be converted.
using Outcome = std::variant<double, Kind>;

constexpr int kTypeVoltage10V = 0;
constexpr int kTypeCurrent20mA = 1;
constexpr int kTypeCurrent4To20mA = 2;
constexpr int kTypeMillivolt200 = 3;
constexpr int kTypeRtd = 4;
constexpr int kTypeThermocoupleJ = 5;
constexpr int kTypeThermocoupleK = 6;

// 4 mA is a fifth of the 20 mA span; the remaining 16 mA are four fifths.
constexpr double kCurrentOffsetFraction = 0.2;
constexpr double kCurrentSpanFraction = 0.8;
constexpr double kThermocoupleSpanMillivolts = 200.0;

// Differences of two counts are 16-bit results that must not wrap.
std::variant<int, Kind> CountDifference(std::int16_t a, std::int16_t b) {
    const int difference = a - b;
    if (difference < std::numeric_limits<std::int16_t>::min() ||
        difference > std::numeric_limits<std::int16_t>::max()) {
        return Kind::Overflow;
    }
    return difference;
}

// The product is formed before the division, as the calibration was defined.
Outcome ScaledQuotient(double numerator, double range, double divisor) {
    const double product = numerator * range;
    if (!std::isfinite(product)) {
        return Kind::Overflow;
    }
    if (divisor == 0.0) {
        return Kind::DivisionByZero;
    }
    return product / divisor;
}

Outcome Linear(std::int16_t count, std::int16_t zero, std::int16_t span, double range) {
    const auto fromZero = CountDifference(count, zero);
    if (const Kind* failure = std::get_if<Kind>(&fromZero)) {
        return *failure;
    }
    const auto width = CountDifference(span, zero);
    if (const Kind* failure = std::get_if<Kind>(&width)) {
        return *failure;
    }
    return ScaledQuotient(std::get<int>(fromZero), range, std::get<int>(width));
}

Outcome LiveZeroCurrent(std::int16_t count, std::int16_t zero, std::int16_t span, double range) {
    const auto fromZero = CountDifference(count, zero);
    if (const Kind* failure = std::get_if<Kind>(&fromZero)) {
        return *failure;
    }
    const auto width = CountDifference(span, zero);
    if (const Kind* failure = std::get_if<Kind>(&width)) {
        return *failure;
    }
    const double w = std::get<int>(width);
    return ScaledQuotient(std::get<int>(fromZero) - kCurrentOffsetFraction * w, range,
                          kCurrentSpanFraction * w);
}

Outcome Thermocouple(const AcquisitionState& state, std::int16_t count, std::int16_t zero,
                     std::int16_t span, int kind) {
    const auto fromZero = CountDifference(count, zero);
    if (const Kind* failure = std::get_if<Kind>(&fromZero)) {
        return *failure;
    }
    const auto width = CountDifference(span, zero);
    if (const Kind* failure = std::get_if<Kind>(&width)) {
        return *failure;
    }
    if (std::get<int>(width) == 0) {
        return Kind::DivisionByZero;
    }
    const double millivoltsPerCount = kThermocoupleSpanMillivolts / std::get<int>(width);
    const auto coldJunction =
        thermocouple::ColdJunctionMillivolts(state, thermocouple::TableFor(state, kind));
    if (const Kind* failure = std::get_if<Kind>(&coldJunction)) {
        return *failure;
    }
    const auto temperature = ThermocoupleTemperature(
        state, static_cast<std::int16_t>(std::get<int>(fromZero)), kind, millivoltsPerCount);
    if (!temperature) {
        return Kind::IndexOutOfRange;
    }
    return *temperature;
}

Outcome ConvertSlot(const AcquisitionState& state, int s) {
    const std::int16_t count = state.RawCounts[s];
    const double range = state.InputRange[s];
    switch (state.InputType[s]) {
        case kTypeVoltage10V:
            return Linear(count, state.CalZero10V[s], state.CalSpan10V[s], range);
        case kTypeCurrent20mA:
        case kTypeMillivolt200:
            return Linear(count, state.CalZero200mV[s], state.CalSpan200mV[s], range);
        case kTypeCurrent4To20mA:
            return LiveZeroCurrent(count, state.CalZero200mV[s], state.CalSpan200mV[s], range);
        case kTypeRtd:
            if (state.CalRTD[s] == 0) {
                return Kind::DivisionByZero;
            }
            return RtdTemperature(count, state.CalRTD[s]);
        case kTypeThermocoupleJ:
            return Thermocouple(state, count, state.CalZero200mV[s], state.CalSpan200mV[s],
                                thermocouple::kTypeJ);
        case kTypeThermocoupleK:
            return Thermocouple(state, count, state.CalZero200mV[s], state.CalSpan200mV[s],
                                thermocouple::kTypeK);
        default:
            return static_cast<double>(count);
    }
}

// Stored as a 32-bit float; a value that would round beyond its range is an
// overflow rather than an infinity.
std::variant<float, Kind> ToSingle(double value) {
    constexpr double kMax = std::numeric_limits<float>::max();
    // Halfway between the largest float and the next power of two rounds up.
    constexpr double kRoundsToInfinity = kMax + 0x1p103;
    if (std::isnan(value) || std::fabs(value) >= kRoundsToInfinity) {
        return Kind::Overflow;
    }
    if (std::fabs(value) > kMax) {
        return static_cast<float>(std::copysign(kMax, value));
    }
    return static_cast<float>(value);
}

}  // namespace

std::optional<ConversionFailure> ConvertFrame(AcquisitionState& state, int card) {
    const int base = card == 0 ? 0 : kChannelsPerCard;
    for (int s = base; s < base + kChannelsPerCard; ++s) {
        const Outcome outcome = ConvertSlot(state, s);
        if (const Kind* failure = std::get_if<Kind>(&outcome)) {
            return ConversionFailure{*failure, s};
        }
        const auto single = ToSingle(std::get<double>(outcome));
        if (const Kind* failure = std::get_if<Kind>(&single)) {
            return ConversionFailure{*failure, s};
        }
        state.ChannelValue[s] = std::get<float>(single);
    }
    return std::nullopt;
}

}  // namespace modMain
}  // namespace vantrel
