#include "publish/CardPayloads.h"

#include <charconv>

#include "engine/CardView.h"
#include "platform/DateTimeText.h"
#include "publish/JsonText.h"
#include "publish/LineProtocol.h"

namespace vantrel::publish {

namespace {

const std::optional<ChannelScale>& ScaleOf(const CardReadings& card, int channel) {
    static const std::optional<ChannelScale> kNone;
    return card.scales != nullptr ? card.scales[channel] : kNone;
}

void AppendNumber(std::string& out, std::int64_t number) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, number);
    out.append(digits, result.ptr);
}

}  // namespace

void AppendCardPayload(std::string& out, const CardReadings& card) {
    out += R"({"time":")";
    AppendIsoUtc(out, card.samples[0].time);
    out += R"(","card":)";
    AppendNumber(out, card.card + 1);
    out += R"(,"channels":[)";
    for (int channel = 0; channel < kChannelsPerCard; ++channel) {
        const AnalogSample& sample = card.samples[channel];
        const std::optional<ChannelScale>& scale = ScaleOf(card, channel);
        out += channel == 0 ? R"({"channel":)" : R"(,{"channel":)";
        AppendNumber(out, ChannelSlot(card.card, channel));
        out += R"(,"name":)";
        AppendJsonQuoted(out, card.names[channel]);
        out += R"(,"value":)";
        const bool valued = AppendJsonSampleValue(out, sample, scale);
        AppendJsonUnitAndReason(out, sample, scale, valued);
        out += '}';
    }
    out += "]}";
}

void AppendInfluxLine(std::string& out, std::string_view station, const CardReadings& card) {
    AppendLineText(out, "vantrel", LinePlace::Measurement);
    out += ",station=";
    AppendLineText(out, station, LinePlace::Key);
    out += ",card=";
    AppendNumber(out, card.card + 1);
    out += ' ';
    bool anyField = false;
    for (int channel = 0; channel < kChannelsPerCard; ++channel) {
        const std::size_t before = out.size();
        out += anyField ? "," : "";
        const std::string& name = card.names[channel];
        if (name.empty()) {
            out += "ch";
            AppendNumber(out, ChannelSlot(card.card, channel));
        } else {
            AppendLineText(out, name, LinePlace::Key);
        }
        out += '=';
        if (AppendSampleValue(out, card.samples[channel], ScaleOf(card, channel))) {
            anyField = true;
        } else {
            out.resize(before);
        }
    }
    if (!anyField) {
        out += "error=\"";
        AppendLineText(out, MissingValueReason(card.samples[0]), LinePlace::StringValue);
        out += '"';
    }
    out += ' ';
    AppendNumber(out, platform::UtcMilliseconds(card.samples[0].time) * 1000000);
}

}  // namespace vantrel::publish
