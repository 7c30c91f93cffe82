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

std::string_view UnitName(int inputType, const std::optional<ChannelScale>& scale) {
    const std::string_view unit = ChannelUnit(inputType, scale);
    // Any other code leaves the raw count in the value.
    return unit.empty() && !scale ? "count" : unit;
}

JsonObject& Value(JsonObject& payload, const std::optional<std::string>& number) {
    return number ? payload.number("value", *number) : payload.null("value");
}

std::string HexLines(std::uint32_t lines) {
    std::array<char, 9> text{};
    std::snprintf(text.data(), text.size(), "%08X", static_cast<unsigned>(lines));
    return text.data();
}

// A reading of an event or an alarm, null when there is none or JSON cannot hold it.
JsonObject& Reading(JsonObject& payload, std::string_view name, std::optional<double> value) {
    return value && std::isfinite(*value) ? payload.number(name, alarms::EventValueText(*value))
                                          : payload.null(name);
}

}  // namespace

Topics::Topics(std::string_view prefix, std::string_view station) {
    base_.append(prefix).append("/").append(station);
}

std::string Topics::analog(int channel) const {
    return base_ + "/analog/" + std::to_string(channel);
}

std::string Topics::derived(std::string_view name) const {
    return base_ + "/derived/" + std::string(name);
}

std::string Topics::digital() const {
    return base_ + "/digital";
}

std::string Topics::status() const {
    return base_ + "/status";
}

std::string Topics::events() const {
    return base_ + "/events";
}

std::string Topics::alarms() const {
    return base_ + "/alarms";
}

std::optional<std::string> ValueNumber(float value, int inputType) {
    return DecimalNumber(value, input_type::DecimalsForInputType(inputType));
}

std::optional<std::string> DecimalNumber(double value, int decimals) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    // The views round halves away from zero (a thermocouple's 122.5 degrees shows
    // as 123), which to_chars does not. A float times 10 or 100 is exact in a
    // double, so rounding the scaled value rounds a converted value itself.
    const double scaled = std::round(std::fabs(value) * std::pow(10.0, decimals));
    std::array<char, 64> text{};
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), scaled, std::chars_format::fixed, 0);
    std::string digits(text.data(), result.ptr);
    if (digits.size() <= static_cast<std::size_t>(decimals)) {
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    }
    if (decimals > 0) {
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
    }
    return value < 0 ? "-" + digits : digits;
}

std::string AnalogPayload(const AnalogSample& sample, std::string_view name,
                          const std::optional<ChannelScale>& scale) {
    JsonObject payload;
    payload.text("time", platform::IsoUtcText(sample.time));
    const int decimals = scale && scale->decimals
                             ? *scale->decimals
                             : input_type::DecimalsForInputType(sample.inputType);
    const std::optional<std::string> number =
        sample.error ? std::nullopt : DecimalNumber(sample.value, decimals);
    Value(payload, number)
        .text("name", name)
        .text("input", InputName(sample.inputType))
        .text("unit", UnitName(sample.inputType, scale));
    if (sample.error) {
        payload.text("error", *sample.error);
    } else if (!number) {
        payload.text("error", "not a number");
    }
    return payload.str();
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
    return JsonObject()
        .text("time", platform::IsoUtcText(time))
        .text("in", HexLines(in))
        .text("out", HexLines(out))
        .str();
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
