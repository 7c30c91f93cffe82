#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <variant>

#include "engine/CardView.h"
#include "engine/Conversion.h"
#include "engine/ConversionCore.h"
#include "engine/InputTypes.h"
#include "engine/RtdSearch.h"
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

// What converting one slot gave: a value, a thermocouple voltage whose table
// search runs together with the card's other thermocouple slots, or a failure.
// Kept to a byte plus a double so results stay in registers.
enum class Status : std::uint8_t {
    Value,
    SearchJ,
    SearchK,
    DivisionByZero,
    Overflow,
    IndexOutOfRange
};

Kind FailureKind(Status status) {
    switch (status) {
        case Status::DivisionByZero:
            return Kind::DivisionByZero;
        case Status::IndexOutOfRange:
            return Kind::IndexOutOfRange;
        default:
            return Kind::Overflow;
    }
}

bool IsFailure(Status status) {
    return status >= Status::DivisionByZero;
}

Status FromKind(Kind kind) {
    switch (kind) {
        case Kind::DivisionByZero:
            return Status::DivisionByZero;
        case Kind::IndexOutOfRange:
            return Status::IndexOutOfRange;
        default:
            return Status::Overflow;
    }
}

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
Status ScaledQuotient(double numerator, double range, double divisor, double& value) {
    const double product = numerator * range;
    if (!std::isfinite(product)) {
        return Status::Overflow;
    }
    if (divisor == 0.0) {
        return Status::DivisionByZero;
    }
    value = product / divisor;
    return Status::Value;
}

Status Linear(std::int16_t count, std::int16_t zero, std::int16_t span, double range,
              double& value) {
    int fromZero = 0;
    int width = 0;
    if (!CountDifference(count, zero, fromZero) || !CountDifference(span, zero, width)) {
        return Status::Overflow;
    }
    return ScaledQuotient(fromZero, range, width, value);
}

Status LiveZeroCurrent(std::int16_t count, std::int16_t zero, std::int16_t span, double range,
                       double& value) {
    int fromZero = 0;
    int width = 0;
    if (!CountDifference(count, zero, fromZero) || !CountDifference(span, zero, width)) {
        return Status::Overflow;
    }
    return ScaledQuotient(fromZero - kCurrentOffsetFraction * width, range,
                          kCurrentSpanFraction * width, value);
}

// The cold junction depends only on card 1's ambient and the table, so it is
// looked up once per frame and kind.
class ColdJunctions {
  public:
    explicit ColdJunctions(const AcquisitionState& state) : state_(state) {}

    Status forKind(int kind, double& millivolts) {
        if (!known_[kind]) {
            const auto found =
                thermocouple::ColdJunctionMillivolts(state_, thermocouple::TableFor(state_, kind));
            if (const Kind* failure = std::get_if<Kind>(&found)) {
                status_[kind] = FromKind(*failure);
            } else {
                status_[kind] = Status::Value;
                millivolts_[kind] = std::get<double>(found);
            }
            known_[kind] = true;
        }
        millivolts = millivolts_[kind];
        return status_[kind];
    }

  private:
    const AcquisitionState& state_;
    std::array<bool, 2> known_{};
    std::array<Status, 2> status_{};
    std::array<double, 2> millivolts_{};
};

// Leaves the hot junction's voltage in `target` for the table search.
Status Thermocouple(std::int16_t count, std::int16_t zero, std::int16_t span, int kind,
                    ColdJunctions& coldJunctions, double& target) {
    int fromZero = 0;
    int width = 0;
    if (!CountDifference(count, zero, fromZero) || !CountDifference(span, zero, width)) {
        return Status::Overflow;
    }
    if (width == 0) {
        return Status::DivisionByZero;
    }
    const double millivoltsPerCount = kThermocoupleSpanMillivolts / width;
    double coldJunction = 0.0;
    if (const Status status = coldJunctions.forKind(kind, coldJunction); IsFailure(status)) {
        return status;
    }
    // The measured voltage plus the cold junction's gives the hot junction's.
    target = coldJunction + fromZero * millivoltsPerCount;
    return kind == thermocouple::kTypeJ ? Status::SearchJ : Status::SearchK;
}

Status ConvertSlot(const AcquisitionState& state, int s, const TemperatureSearches& searches,
                   ColdJunctions& coldJunctions, double& value) {
    const std::int16_t count = state.RawCounts[s];
    const double range = state.InputRange[s];
    switch (state.InputType[s]) {
        case input_type::kVoltage10V:
            return Linear(count, state.CalZero10V[s], state.CalSpan10V[s], range, value);
        case input_type::kCurrent20mA:
        case input_type::kMillivolt200:
            return Linear(count, state.CalZero200mV[s], state.CalSpan200mV[s], range, value);
        case input_type::kCurrent4To20mA:
            return LiveZeroCurrent(count, state.CalZero200mV[s], state.CalSpan200mV[s], range,
                                   value);
        case input_type::kRtd:
            if (state.CalRTD[s] == 0) {
                return Status::DivisionByZero;
            }
            value = searches.rtd(count, state.CalRTD[s]);
            return Status::Value;
        case input_type::kThermocoupleJ:
            return Thermocouple(count, state.CalZero200mV[s], state.CalSpan200mV[s],
                                thermocouple::kTypeJ, coldJunctions, value);
        case input_type::kThermocoupleK:
            return Thermocouple(count, state.CalZero200mV[s], state.CalSpan200mV[s],
                                thermocouple::kTypeK, coldJunctions, value);
        default:
            value = count;
            return Status::Value;
    }
}

// Runs the pending table searches of one kind and turns them into degrees.
void SearchTables(const AcquisitionState& state, int kind, const TemperatureSearches& searches,
                  std::array<Status, kChannelsPerCard>& status,
                  std::array<double, kChannelsPerCard>& values, int count) {
    const Status pendingStatus = kind == thermocouple::kTypeJ ? Status::SearchJ : Status::SearchK;
    std::array<double, kChannelsPerCard> targets{};
    std::array<int, kChannelsPerCard> slots{};
    int pending = 0;
    for (int k = 0; k < count; ++k) {
        if (status[k] == pendingStatus) {
            targets[pending] = values[k];
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
        values[slots[i]] = indices[i] - table.indexOffset;
        status[slots[i]] = Status::Value;
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
    const int base = ChannelSlot(card, 0);
    ColdJunctions coldJunctions(state);
    std::array<Status, kChannelsPerCard> status{};
    std::array<double, kChannelsPerCard> values{};
    // Slots are converted in order up to the first failure; later slots keep their
    // values. Table searches cannot fail, so running them after the others
    // changes nothing but the speed.
    int converted = 0;
    std::optional<ConversionFailure> failure;
    for (; converted < kChannelsPerCard; ++converted) {
        status[converted] =
            ConvertSlot(state, base + converted, searches, coldJunctions, values[converted]);
        if (IsFailure(status[converted])) {
            failure = ConversionFailure{FailureKind(status[converted]), base + converted};
            break;
        }
    }
    SearchTables(state, thermocouple::kTypeJ, searches, status, values, converted);
    SearchTables(state, thermocouple::kTypeK, searches, status, values, converted);
    for (int k = 0; k < converted; ++k) {
        float single = 0.0f;
        if (!ToSingle(values[k], single)) {
            return ConversionFailure{Kind::Overflow, base + k};
        }
        state.ChannelValue[base + k] = single;
    }
    return failure;
}

std::optional<ConversionFailure> ConvertFrame(AcquisitionState& state, int card) {
    static constexpr TemperatureSearches kFast{RtdTemperature, thermocouple::SearchTableBatch};
    return ConvertFrameWith(state, card, kFast);
}

}  // namespace vantrel
