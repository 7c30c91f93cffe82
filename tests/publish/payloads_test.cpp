// Guards what consumers parse: a quote or control character in a channel name
// breaking the JSON, non-UTF-8 bytes passed on, a value rounded otherwise than the
// views show it (halves, negatives, decimals by input type), the digital lines in
// the wrong order or letter case, and the status message's words.
#include <gtest/gtest.h>

#include <limits>

#include "publish/JsonText.h"
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
    publish::AnalogSample sample{kNoon, 21.34f, 4, std::nullopt};
    EXPECT_EQ(publish::AnalogPayload(sample, "Fan"),
              R"({"time":"2026-12-06T13:05:09.250Z","value":21.3,"name":"Fan",)"
              R"("input":"PT-100","unit":"deg.C"})");
    sample = {kNoon, 0.0f, 2, "Overflow4"};
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
}

}  // namespace
}  // namespace vantrel::testing
