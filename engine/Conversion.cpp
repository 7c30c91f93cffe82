#include <array>
#include <cmath>
#include <limits>
#include <variant>

#include "engine/ConversionCore.h"
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

namespace {

using Kind = ConversionFailure::Kind;

// A thermocouple slot whose hot-junction voltage is known; its table search runs
// together with the card's other thermocouple slots.
struct TableTarget {
    int kind;
    double millivolts;
};

// A converted value, why the slot could not be converted, or a pending search.
using Outcome = std::variant<double, Kind, TableTarget>;

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
bool CountDifference(std::int16_t a, std::int16_t b, int& difference) {
    difference = a - b;
    return difference >= std::numeric_limits<std::int16_t>::min() &&
           difference <= std::numeric_limits<std::int16_t>::max();
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
    int fromZero = 0;
    int width = 0;
    if (!CountDifference(count, zero, fromZero) || !CountDifference(span, zero, width)) {
        return Kind::Overflow;
    }
    return ScaledQuotient(fromZero, range, width);
}

Outcome LiveZeroCurrent(std::int16_t count, std::int16_t zero, std::int16_t span, double range) {
    int fromZero = 0;
    int width = 0;
    if (!CountDifference(count, zero, fromZero) || !CountDifference(span, zero, width)) {
        return Kind::Overflow;
    }
    return ScaledQuotient(fromZero - kCurrentOffsetFraction * width, range,
                          kCurrentSpanFraction * width);
}

// The cold junction depends only on card 1's ambient and the table, so it is
// looked up once per frame and kind.
class ColdJunctions {
  public:
    explicit ColdJunctions(const AcquisitionState& state) : state_(state) {}

    const std::variant<double, Kind>& forKind(int kind) {
        auto& cached = cache_[kind];
        if (!cached) {
            cached =
                thermocouple::ColdJunctionMillivolts(state_, thermocouple::TableFor(state_, kind));
        }
        return *cached;
    }

  private:
    const AcquisitionState& state_;
    std::array<std::optional<std::variant<double, Kind>>, 2> cache_;
};

Outcome Thermocouple(std::int16_t count, std::int16_t zero, std::int16_t span, int kind,
                     ColdJunctions& coldJunctions) {
    int fromZero = 0;
    int width = 0;
    if (!CountDifference(count, zero, fromZero) || !CountDifference(span, zero, width)) {
        return Kind::Overflow;
    }
    if (width == 0) {
        return Kind::DivisionByZero;
    }
    const double millivoltsPerCount = kThermocoupleSpanMillivolts / width;
    const auto& coldJunction = coldJunctions.forKind(kind);
    if (const Kind* failure = std::get_if<Kind>(&coldJunction)) {
        return *failure;
    }
    // The measured voltage plus the cold junction's gives the hot junction's.
    return TableTarget{kind, std::get<double>(coldJunction) + fromZero * millivoltsPerCount};
}

Outcome ConvertSlot(const AcquisitionState& state, int s, const TemperatureSearches& searches,
                    ColdJunctions& coldJunctions) {
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
            return searches.rtd(count, state.CalRTD[s]);
        case kTypeThermocoupleJ:
            return Thermocouple(count, state.CalZero200mV[s], state.CalSpan200mV[s],
                                thermocouple::kTypeJ, coldJunctions);
        case kTypeThermocoupleK:
            return Thermocouple(count, state.CalZero200mV[s], state.CalSpan200mV[s],
                                thermocouple::kTypeK, coldJunctions);
        default:
            return static_cast<double>(count);
    }
}

// Runs the pending table searches of one kind and turns them into degrees.
void SearchTables(const AcquisitionState& state, int kind, const TemperatureSearches& searches,
                  std::array<Outcome, kChannelsPerCard>& outcomes, int count) {
    std::array<double, kChannelsPerCard> targets{};
    std::array<int, kChannelsPerCard> slots{};
    int pending = 0;
    for (int k = 0; k < count; ++k) {
        if (const auto* target = std::get_if<TableTarget>(&outcomes[k]);
            target && target->kind == kind) {
            targets[pending] = target->millivolts;
            slots[pending++] = k;
        }
    }
    if (pending == 0) {
        return;
    }
    const thermocouple::TableView table = thermocouple::TableFor(state, kind);
    std::array<double, kChannelsPerCard> indices{};
    searches.tables(table, targets.data(), indices.data(), pending);
    for (int i = 0; i < pending; ++i) {
        outcomes[slots[i]] = indices[i] - table.indexOffset;
    }
}

// Stored as a 32-bit float; a value that would round beyond its range is an
// overflow rather than an infinity.
bool ToSingle(double value, float& single) {
    constexpr double kMax = std::numeric_limits<float>::max();
    // Halfway between the largest float and the next power of two rounds up.
    constexpr double kRoundsToInfinity = kMax + 0x1p103;
    if (std::isnan(value) || std::fabs(value) >= kRoundsToInfinity) {
        return false;
    }
    single = std::fabs(value) > kMax ? static_cast<float>(std::copysign(kMax, value))
                                     : static_cast<float>(value);
    return true;
}

}  // namespace

std::optional<ConversionFailure> ConvertFrameWith(AcquisitionState& state, int card,
                                                  const TemperatureSearches& searches) {
    const int base = card == 0 ? 0 : kChannelsPerCard;
    ColdJunctions coldJunctions(state);
    std::array<Outcome, kChannelsPerCard> outcomes;
    // Slots are converted in order up to the first failure; later slots keep their
    // values. Table searches cannot fail, so running them after the others
    // changes nothing but the speed.
    int converted = 0;
    std::optional<ConversionFailure> failure;
    for (; converted < kChannelsPerCard; ++converted) {
        outcomes[converted] = ConvertSlot(state, base + converted, searches, coldJunctions);
        if (const Kind* kind = std::get_if<Kind>(&outcomes[converted])) {
            failure = ConversionFailure{*kind, base + converted};
            break;
        }
    }
    SearchTables(state, thermocouple::kTypeJ, searches, outcomes, converted);
    SearchTables(state, thermocouple::kTypeK, searches, outcomes, converted);
    for (int k = 0; k < converted; ++k) {
        float single = 0.0f;
        if (!ToSingle(std::get<double>(outcomes[k]), single)) {
            return ConversionFailure{Kind::Overflow, base + k};
        }
        state.ChannelValue[base + k] = single;
    }
    return failure;
}

namespace modMain {

std::optional<ConversionFailure> ConvertFrame(AcquisitionState& state, int card) {
    static constexpr TemperatureSearches kFast{RtdTemperature, thermocouple::SearchTableBatch};
    return ConvertFrameWith(state, card, kFast);
}

}  // namespace modMain
}  // namespace vantrel
