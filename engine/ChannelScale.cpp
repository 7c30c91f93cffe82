#include "engine/ChannelScale.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace vantrel {

namespace {

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (true) {
        at = text.find_first_not_of(" \t", at);
        if (at == std::string_view::npos) {
            return words;
        }
        const std::size_t end = std::min(text.find_first_of(" \t", at), text.size());
        words.push_back(text.substr(at, end - at));
        at = end;
    }
}

// The whole word as a finite number, a period for the decimal mark whatever the
// locale.
std::optional<double> NumberOf(std::string_view word) {
    double value = 0.0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Characters, not bytes: a unit may be "°C" or "µS/cm".
std::size_t CharacterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

// Shortest text that reads back as the same double.
std::string ExactText(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

ScaleRefusal ScaleWhy(std::string why) {
    return {ScaleRefusal::Field::Scale, std::move(why)};
}

ScaleParse ParseScaleWords(const std::vector<std::string_view>& words, ChannelScale scale) {
    if (words.size() == 4 && words[0] == "gain" && words[2] == "offset") {
        const auto gain = NumberOf(words[1]);
        const auto offset = NumberOf(words[3]);
        if (!gain || !offset) {
            return ScaleWhy(std::string(!gain ? words[1] : words[3]) + " is not a number");
        }
        SetGainOffset(scale, *gain, *offset);
        return scale;
    }
    if (words.size() != 4) {
        return ScaleWhy("four numbers expected, or gain and offset");
    }
    std::array<double, 4> points{};
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto number = NumberOf(words[i]);
        if (!number) {
            return ScaleWhy(std::string(words[i]) + " is not a number");
        }
        points[i] = *number;
    }
    if (auto refused = SetTwoPoints(scale, points[0], points[1], points[2], points[3])) {
        return *refused;
    }
    return scale;
}

}  // namespace

std::string_view FieldName(ScaleRefusal::Field field) {
    switch (field) {
        case ScaleRefusal::Field::Scale:
            return "scale";
        case ScaleRefusal::Field::Unit:
            return "unit";
        case ScaleRefusal::Field::Decimals:
            return "decimals";
    }
    return "";
}

std::string RefusalText(int channel, const ScaleRefusal& refusal) {
    return "CH" + std::to_string(channel) + " " + std::string(FieldName(refusal.field)) + ": " +
           refusal.why;
}

std::optional<ScaleRefusal> SetTwoPoints(ChannelScale& scale, double in1, double out1, double in2,
                                         double out2) {
    if (in1 == in2) {
        return ScaleWhy("both points have the input " + ExactText(in1));
    }
    const double gain = (out2 - out1) / (in2 - in1);
    if (!std::isfinite(gain) || !std::isfinite(out1 - gain * in1)) {
        // Inputs a hair apart, or values beyond a double: no line to read by.
        return ScaleWhy("the points give no usable line");
    }
    scale.form = ChannelScale::Form::TwoPoints;
    scale.in1 = in1;
    scale.out1 = out1;
    scale.in2 = in2;
    scale.out2 = out2;
    scale.gain = gain;
    scale.offset = out1 - gain * in1;
    return std::nullopt;
}

void SetGainOffset(ChannelScale& scale, double gain, double offset) {
    scale.form = ChannelScale::Form::GainOffset;
    scale.gain = gain;
    scale.offset = offset;
}

std::optional<ScaleRefusal> CheckUnit(std::string_view unit) {
    if (unit.find_first_of("\r\n") != std::string_view::npos) {
        return ScaleRefusal{ScaleRefusal::Field::Unit, "a unit is one line"};
    }
    // The log's header quotes a column holding a separator but never doubles a quote.
    if (unit.find('"') != std::string_view::npos) {
        return ScaleRefusal{ScaleRefusal::Field::Unit, "a unit holds no double quote"};
    }
    if (CharacterCount(unit) > kMaxUnitCharacters) {
        return ScaleRefusal{ScaleRefusal::Field::Unit,
                            "more than " + std::to_string(kMaxUnitCharacters) + " characters"};
    }
    return std::nullopt;
}

std::optional<ScaleRefusal> CheckDecimals(int decimals) {
    if (decimals < 0 || decimals > kMaxScaleDecimals) {
        return ScaleRefusal{ScaleRefusal::Field::Decimals,
                            "0 to " + std::to_string(kMaxScaleDecimals) + " expected"};
    }
    return std::nullopt;
}

ScaleParse ParseChannelScale(std::string_view scale, std::string_view unit,
                             std::string_view decimals) {
    const std::vector<std::string_view> scaleWords = Words(scale);
    const std::vector<std::string_view> decimalWords = Words(decimals);
    if (scaleWords.empty() && unit.empty() && decimalWords.empty()) {
        return std::optional<ChannelScale>();
    }
    ChannelScale result;
    if (auto refused = CheckUnit(unit)) {
        return *refused;
    }
    result.unit = std::string(unit);
    if (!decimalWords.empty()) {
        int places = -1;
        const std::string_view word = decimalWords[0];
        const auto [stop, error] = std::from_chars(word.data(), word.data() + word.size(), places);
        if (decimalWords.size() != 1 || error != std::errc() || stop != word.data() + word.size()) {
            return ScaleRefusal{ScaleRefusal::Field::Decimals,
                                std::string(decimals) + " is not a whole number"};
        }
        if (auto refused = CheckDecimals(places)) {
            return *refused;
        }
        result.decimals = places;
    }
    if (scaleWords.empty()) {
        return std::optional<ChannelScale>(result);
    }
    ScaleParse parsed = ParseScaleWords(scaleWords, result);
    return parsed;
}

std::string ScaleText(const ChannelScale& scale) {
    if (scale.form == ChannelScale::Form::TwoPoints) {
        return ExactText(scale.in1) + " " + ExactText(scale.out1) + " " + ExactText(scale.in2) +
               " " + ExactText(scale.out2);
    }
    return "gain " + ExactText(scale.gain) + " offset " + ExactText(scale.offset);
}

}  // namespace vantrel
