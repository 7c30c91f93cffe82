#pragma once

// A user's scale on top of a channel's input type: a straight line from the
// converted value to the value the user reads (a 4-20 mA transmitter's 4 mA as
// 0 bar and 20 mA as 10 bar), with the unit written after it and its decimals.
// A channel without one shows its converted value as it always has.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "engine/AcquisitionState.h"

namespace vantrel {

struct ChannelScale {
    // Kept in the form the user gave, so that it is shown and written back so.
    enum class Form { TwoPoints, GainOffset };
    Form form = Form::GainOffset;
    // Two points: in1 reads as out1, in2 as out2.
    double in1 = 0.0;
    double out1 = 0.0;
    double in2 = 1.0;
    double out2 = 1.0;
    double gain = 1.0;
    double offset = 0.0;
    // At most kMaxUnitCharacters characters on one line; may be empty.
    std::string unit{};
    // None: as many as the input type shows.
    std::optional<int> decimals{};

    double apply(double converted) const { return gain * converted + offset; }
    bool operator==(const ChannelScale&) const = default;
};

inline constexpr std::size_t kMaxUnitCharacters = 16;
inline constexpr int kMaxScaleDecimals = 9;

// By channel slot; none where the channel has no user scale.
using ChannelScales = std::array<std::optional<ChannelScale>, kUsedChannels>;

// Which of a scale's texts a refusal is about, and why.
struct ScaleRefusal {
    enum class Field { Scale, Unit, Decimals };
    Field field = Field::Scale;
    std::string why;
};
std::string_view FieldName(ScaleRefusal::Field field);
// "CH3 scale: both points have the input 4", as a message names it.
std::string RefusalText(int channel, const ScaleRefusal& refusal);

// The three texts as the user gives them: the scale as two points "4 0 20 10"
// (in1 out1 in2 out2) or as "gain 0.625 offset -2.5", the unit, and the decimals
// as a whole number. All three empty is no scale; a unit or decimals alone scale
// by one.
using ScaleParse = std::variant<std::optional<ChannelScale>, ScaleRefusal>;
ScaleParse ParseChannelScale(std::string_view scale, std::string_view unit,
                             std::string_view decimals);
// The scale text that reads back as the same scale.
std::string ScaleText(const ChannelScale& scale);

// The line through two points; refused when both have the same input.
std::optional<ScaleRefusal> SetTwoPoints(ChannelScale& scale, double in1, double out1, double in2,
                                         double out2);
void SetGainOffset(ChannelScale& scale, double gain, double offset);
std::optional<ScaleRefusal> CheckUnit(std::string_view unit);
std::optional<ScaleRefusal> CheckDecimals(int decimals);

}  // namespace vantrel
