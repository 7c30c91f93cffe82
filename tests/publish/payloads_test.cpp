// Guards what consumers parse: a quote or control character in a channel name
// breaking the JSON, non-UTF-8 bytes passed on, a value rounded otherwise than the
// views show it (halves, negatives, decimals by input type), the digital lines in
// the wrong order or letter case, the status message's words, and a unit or
// decimals not those the user reads (a scaled channel, a derived channel); a
// card's frame with a channel out of its place, the wrong card or slot, a name
// that breaks the line protocol (blanks, commas, equals signs, backslashes, line
// ends, bytes that are not UTF-8), a channel without a value sent as a field, a
// line left without a field, and a time not in nanoseconds UTC.
#include <gtest/gtest.h>

#include <array>
#include <limits>

#include "publish/CardPayloads.h"
#include "publish/JsonText.h"
#include "publish/LineProtocol.h"
#include "publish/Payloads.h"

namespace vantrel::testing {
namespace {

const platform::DateTime kNoon{2026, 12, 6, 14, 5, 9, 250, 60};

TEST(PayloadsTest, StringsAreQuotedAsJson) {
    const struct {
        std::string text;
        const char* json;
    } cases[] = {
        {"Fan", R"("Fan")"},
        {"say \"hi\"\\", R"("say \"hi\"\\")"},
        {"a\nb\tc\x01", R"("a\nb\tc\u0001")"},
        {"20 \xC2\xB0"
         "C",
         "\"20 \xC2\xB0"
         "C\""},
        {"Temp \xB0"
         "C",
         "\"Temp \xEF\xBF\xBD"
         "C\""},                                                       // Latin-1 degree sign
        {"\xC0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},                  // overlong NUL
        {"\xED\xA0\x80", "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},  // a surrogate
    };
    for (const auto& c : cases) {
        EXPECT_EQ(publish::JsonQuoted(c.text), c.json) << c.text;
    }
}

TEST(PayloadsTest, ValuesAreRoundedAsTheViewsShowThem) {
    const struct {
        float value;
        int inputType;
        const char* text;
    } cases[] = {
        {1.25f, 0, "1.25"},  {0.125f, 1, "0.13"},        {1.005f, 3, "1.00"}, {-0.004f, 2, "-0.00"},
        {21.35f, 4, "21.4"}, {122.5f, 5, "123"},         {-2.5f, 6, "-3"},    {7.0f, 9, "7"},
        {0.0f, 4, "0.0"},    {3e9f, 0, "3000000000.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(publish::ValueNumber(c.value, c.inputType), c.text) << c.value;
    }
    EXPECT_FALSE(publish::ValueNumber(std::numeric_limits<float>::infinity(), 0));
}

TEST(PayloadsTest, AnalogDigitalAndStatusPayloads) {
    const publish::AnalogSample sample{kNoon, 0.0, 2, "Overflow4"};
    EXPECT_EQ(publish::AnalogPayload(sample, ""),
              R"({"time":"2026-12-06T13:05:09.250Z","value":null,"name":"",)"
              R"("input":"4 ~ 20 mA","unit":"mA","error":"Overflow4"})");
    EXPECT_EQ(publish::DigitalPayload(kNoon, 0x8000000Au, 0x00ABCDEFu),
              R"({"time":"2026-12-06T13:05:09.250Z","in":"8000000A","out":"00ABCDEF"})");
    EXPECT_EQ(publish::StatusPayload({"connected", "port lost", true, false, "1.0"}),
              R"({"online":true,"card1":"connected","card2":"port lost","task":"running",)"
              R"("logging":false,"version":"1.0"})");
    const publish::Topics topics("lab/rigs", "rig_2");
    EXPECT_EQ(topics.analog(15), "lab/rigs/rig_2/analog/15");
    EXPECT_EQ(topics.derived("dT"), "lab/rigs/rig_2/derived/dT");
}

TEST(PayloadsTest, ValuesCarryTheUnitTheUserReadsThemIn) {
    ChannelScale bar;
    bar.unit = "bar";
    bar.decimals = 1;
    ChannelScale flow;  // decimals of its input type
    flow.unit = "m\xC2\xB3/h";
    const ChannelScale bare;  // a scale with no unit
    const struct {
        double value;
        int inputType;
        std::optional<ChannelScale> scale;
        const char* tail;
    } cases[] = {
        {21.34, 4, std::nullopt, R"("value":21.3,"name":"A","input":"PT-100","unit":"deg.C"})"},
        {7.0, 9, std::nullopt, R"("value":7,"name":"A","input":"unknown","unit":"count"})"},
        {5.04, 2, bar, R"("value":5.0,"name":"A","input":"4 ~ 20 mA","unit":"bar"})"},
        {-2.25, 2, bar, R"("value":-2.3,"name":"A","input":"4 ~ 20 mA","unit":"bar"})"},
        {12.375, 0, flow,
         "\"value\":12.38,\"name\":\"A\",\"input\":\"+/- 10V\",\"unit\":\"m\xC2\xB3/h\"}"},
        {3.0, 4, bare, R"("value":3.0,"name":"A","input":"PT-100","unit":""})"},
    };
    for (const auto& c : cases) {
        const publish::AnalogSample sample{kNoon, c.value, c.inputType, std::nullopt};
        EXPECT_EQ(publish::AnalogPayload(sample, "A", c.scale),
                  std::string(R"({"time":"2026-12-06T13:05:09.250Z",)") + c.tail)
            << c.value;
    }

    const derived::DerivedChannel dT{"dT", "K", 3, "ch1 - ch0", false};
    const derived::DerivedChannel count{"n", "", 0, "ch0", false};
    const struct {
        std::optional<double> value;
        const derived::DerivedChannel& channel;
        const char* tail;
    } derivedCases[] = {
        {0.0625, dT, R"("value":0.063,"name":"dT","unit":"K"})"},
        {-0.0004, dT, R"("value":-0.000,"name":"dT","unit":"K"})"},
        {std::nullopt, dT, R"("value":null,"name":"dT","unit":"K"})"},
        {std::numeric_limits<double>::infinity(), dT, R"("value":null,"name":"dT","unit":"K"})"},
        {41.5, count, R"("value":42,"name":"n","unit":""})"},
    };
    for (const auto& c : derivedCases) {
        EXPECT_EQ(publish::DerivedPayload({kNoon, c.value}, c.channel),
                  std::string(R"({"time":"2026-12-06T13:05:09.250Z",)") + c.tail)
            << c.channel.name;
    }
}

TEST(PayloadsTest, ACardsFrameIsOneLineOfLineProtocolWithEveryNameEscaped) {
    std::array<publish::AnalogSample, kChannelsPerCard> samples{};
    for (int channel = 0; channel < kChannelsPerCard; ++channel) {
        samples[static_cast<std::size_t>(channel)] = {kNoon, 1.5 * channel, 0, std::nullopt};
    }
    samples[7].error = "Overflow15";
    const std::array<std::string, kChannelsPerCard> names = {"Fan \"A\"",
                                                             "Oil temp",
                                                             "a,b=c",
                                                             "back\\",
                                                             "line\nend",
                                                             "",
                                                             "\xB0"
                                                             "C",
                                                             "z"};
    std::array<std::optional<ChannelScale>, kChannelsPerCard> scales{};
    scales[1].emplace().unit = "bar";
    scales[1]->decimals = 1;
    const publish::CardReadings card2{1, samples.data(), names.data(), scales.data()};

    // Appended to what the buffer holds; the JSON shape is read back end to end.
    std::string out = "kept ";
    publish::AppendInfluxLine(out, "rig_2", card2);
    EXPECT_EQ(out, R"(kept vantrel,station=rig_2,card=2 Fan\ "A"=0.00,Oil\ temp=1.5,a\,b\=c=3.00,)"
                   R"(back\\=4.50,line\ end=6.00,ch13=7.50,)"
                   "\xEF\xBF\xBD"
                   R"(C=9.00 1796562309250000000)");

    // A line needs a field.
    for (publish::AnalogSample& sample : samples) {
        sample.error = "Overflow0";
    }
    samples[0].error = "say \"no\"\\";
    out.clear();
    publish::AppendInfluxLine(out, "rig_2", {0, samples.data(), names.data(), nullptr});
    EXPECT_EQ(out, R"(vantrel,station=rig_2,card=1 error="say \"no\"\\" 1796562309250000000)");

    out.clear();
    publish::AppendLineText(out, "a b,c=d\\", publish::LinePlace::Measurement);
    EXPECT_EQ(out, R"(a\ b\,c=d\\)");
}

}  // namespace
}  // namespace vantrel::testing
