#include "publish/Payloads.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "alarms/EventText.h"
#include "engine/InputTypes.h"
#include "engine/InputUnits.h"
#include "platform/DateTimeText.h"
#include "publish/JsonText.h"

namespace vantrel::publish {

namespace {

std::string_view InputName(int inputType) {
    if (inputType < 0 || inputType >= input_type::kCount) {
        return "unknown";
    }
    return input_type::kNames[static_cast<std::size_t>(inputType)];
}

JsonObject& Value(JsonObject& payload, const std::optional<std::string>& number) {
    return number ? payload.number("value", *number) : payload.null("value");
}

// Eight upper-case hexadecimal digits, line 31's first.
void AppendHexLines(std::string& out, std::uint32_t lines) {
    static constexpr std::string_view kDigits = "0123456789ABCDEF";
    for (int shift = 28; shift >= 0; shift -= 4) {
        out += kDigits[(lines >> shift) & 0xFu];
    }
}

// A reading of an event or an alarm, null when there is none or JSON cannot hold it.
JsonObject& Reading(JsonObject& payload, std::string_view name, std::optional<double> value) {
    return value && std::isfinite(*value) ? payload.number(name, alarms::EventValueText(*value))
                                          : payload.null(name);
}

}  // namespace

Topics::Topics(std::string_view prefix, std::string_view station) {
    base_.append(prefix).append("/").append(station);
    for (int channel = 0; channel < kUsedChannels; ++channel) {
        analog_.push_back(base_ + "/analog/" + std::to_string(channel));
    }
    for (int card = 1; card <= 2; ++card) {
        cardAnalog_.push_back(base_ + "/card" + std::to_string(card) + "/analog");
    }
    influx_ = base_ + "/influx";
    digital_ = base_ + "/digital";
    status_ = base_ + "/status";
    events_ = base_ + "/events";
    alarms_ = base_ + "/alarms";
}

const std::string& Topics::analog(int channel) const {
    return analog_.at(static_cast<std::size_t>(channel));
}

const std::string& Topics::cardAnalog(int card) const {
    return cardAnalog_.at(static_cast<std::size_t>(card));
}

std::string Topics::derived(std::string_view name) const {
    std::string topic;
    derived(name, topic);
    return topic;
}

void Topics::derived(std::string_view name, std::string& out) const {
    out.assign(base_).append("/derived/").append(name);
}

std::optional<std::string> ValueNumber(float value, int inputType) {
    return DecimalNumber(value, input_type::DecimalsForInputType(inputType));
}

std::optional<std::string> DecimalNumber(double value, int decimals) {
    std::string text;
    if (!AppendDecimal(text, value, decimals)) {
        return std::nullopt;
    }
    return text;
}

bool AppendDecimal(std::string& out, double value, int decimals) {
    if (!std::isfinite(value)) {
        return false;
    }
    // The views round halves away from zero (a thermocouple's 122.5 degrees shows
    // as 123), which to_chars does not. A float times 10 or 100 is exact in a
    // double, so rounding the scaled value rounds a converted value itself.
    const double scaled = std::round(std::fabs(value) * std::pow(10.0, decimals));
    std::array<char, 64> text{};
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), scaled, std::chars_format::fixed, 0);
    const std::string_view digits(text.data(), static_cast<std::size_t>(result.ptr - text.data()));
    const auto places = static_cast<std::size_t>(std::max(decimals, 0));
    if (value < 0) {
        out += '-';
    }
    // At least one digit before the point: 0.05, not .05.
    if (digits.size() > places) {
        out.append(digits.substr(0, digits.size() - places));
        if (places > 0) {
            out += '.';
            out.append(digits.substr(digits.size() - places));
        }
    } else {
        out += '0';
        if (places > 0) {
            out += '.';
            out.append(places - digits.size(), '0');
            out.append(digits);
        }
    }
    return true;
}

void AppendIsoUtc(std::string& out, const platform::DateTime& local) {
    const platform::DateTime t = platform::LocalDateTime(platform::UtcMilliseconds(local), 0);
    // Fixed widths, digits only: "YYYY-MM-DDThh:mm:ss.mmmZ".
    const auto put = [&out](int number, int width) {
        std::array<char, 8> digits{};
        for (int i = width - 1; i >= 0; --i) {
            digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + number % 10);
            number /= 10;
        }
        out.append(digits.data(), static_cast<std::size_t>(width));
    };
    put(t.year, 4);
    out += '-';
    put(t.month, 2);
    out += '-';
    put(t.day, 2);
    out += 'T';
    put(t.hour, 2);
    out += ':';
    put(t.minute, 2);
    out += ':';
    put(t.second, 2);
    out += '.';
    put(t.millisecond, 3);
    out += 'Z';
}

std::string_view UnitOf(int inputType, const std::optional<ChannelScale>& scale) {
    const std::string_view unit = ChannelUnit(inputType, scale);
    // Any other code leaves the raw count in the value.
    return unit.empty() && !scale ? "count" : unit;
}

int DecimalsOf(int inputType, const std::optional<ChannelScale>& scale) {
    return scale && scale->decimals ? *scale->decimals
                                    : input_type::DecimalsForInputType(inputType);
}

bool AppendSampleValue(std::string& out, const AnalogSample& sample,
                       const std::optional<ChannelScale>& scale) {
    return !sample.error && AppendDecimal(out, sample.value, DecimalsOf(sample.inputType, scale));
}

std::string_view MissingValueReason(const AnalogSample& sample) {
    return sample.error ? std::string_view(*sample.error) : "not a number";
}

bool AppendJsonSampleValue(std::string& out, const AnalogSample& sample,
                           const std::optional<ChannelScale>& scale) {
    const bool valued = AppendSampleValue(out, sample, scale);
    if (!valued) {
        out += "null";
    }
    return valued;
}

void AppendJsonUnitAndReason(std::string& out, const AnalogSample& sample,
                             const std::optional<ChannelScale>& scale, bool valued) {
    out += R"(,"unit":)";
    AppendJsonQuoted(out, UnitOf(sample.inputType, scale));
    if (!valued) {
        out += R"(,"error":)";
        AppendJsonQuoted(out, MissingValueReason(sample));
    }
}

std::string AnalogPayload(const AnalogSample& sample, std::string_view name,
                          const std::optional<ChannelScale>& scale) {
    std::string payload;
    AppendAnalogPayload(payload, sample, name, scale);
    return payload;
}

void AppendAnalogPayload(std::string& out, const AnalogSample& sample, std::string_view name,
                         const std::optional<ChannelScale>& scale) {
    out += R"({"time":")";
    AppendIsoUtc(out, sample.time);
    out += R"(","value":)";
    const bool valued = AppendJsonSampleValue(out, sample, scale);
    out += R"(,"name":)";
    AppendJsonQuoted(out, name);
    out += R"(,"input":)";
    AppendJsonQuoted(out, InputName(sample.inputType));
    AppendJsonUnitAndReason(out, sample, scale, valued);
    out += '}';
}

std::string DerivedPayload(const DerivedSample& sample, const derived::DerivedChannel& channel) {
    JsonObject payload;
    payload.text("time", platform::IsoUtcText(sample.time));
    return Value(payload,
                 sample.value ? DecimalNumber(*sample.value, channel.decimals) : std::nullopt)
        .text("name", channel.name)
        .text("unit", channel.unit)
        .str();
}

std::string DigitalPayload(const platform::DateTime& time, std::uint32_t in, std::uint32_t out) {
    std::string payload;
    AppendDigitalPayload(payload, time, in, out);
    return payload;
}

void AppendDigitalPayload(std::string& payload, const platform::DateTime& time, std::uint32_t in,
                          std::uint32_t out) {
    payload += R"({"time":")";
    AppendIsoUtc(payload, time);
    payload += R"(","in":")";
    AppendHexLines(payload, in);
    payload += R"(","out":")";
    AppendHexLines(payload, out);
    payload += R"("})";
}

std::string StatusPayload(const StatusFacts& facts) {
    return JsonObject()
        .boolean("online", true)
        .text("card1", facts.card1)
        .text("card2", facts.card2)
        .text("task", facts.taskRunning ? "running" : "stopped")
        .boolean("logging", facts.logging)
        .text("version", facts.version)
        .str();
}

}  // namespace vantrel::publish

namespace vantrel::publish {

std::string EventPayload(const alarms::RunEvent& event) {
    JsonObject payload;
    payload.text("time", platform::IsoUtcText(event.at))
        .text("kind", alarms::EventKindName(event.kind))
        .text("channel", event.channel);
    if (event.level) {
        payload.text("level", alarms::LevelText(*event.level));
    } else {
        payload.null("level");
    }
    Reading(payload, "value", event.value);
    return payload.text("text", event.text).str();
}

std::string AlarmsPayload(const std::vector<alarms::ActiveAlarm>& active) {
    std::string array = "[";
    for (const alarms::ActiveAlarm& alarm : active) {
        JsonObject payload;
        payload.text("channel", alarm.subject)
            .text("level", alarms::LevelText(alarm.level))
            .text("text", alarm.text)
            .text("raised", platform::IsoUtcText(alarm.raisedAt));
        Reading(payload, "value", alarm.valueAtRaise);
        payload.boolean("acknowledged", alarm.acknowledged).boolean("holds", alarm.conditionHolds);
        array += (array.size() > 1 ? "," : "") + payload.str();
    }
    return array + "]";
}

}  // namespace vantrel::publish
