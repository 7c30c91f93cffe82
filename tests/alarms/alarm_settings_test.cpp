// The [alarms] part of vantrel.ini: guards a rule word misread or its case
// refused, a channel or line one past the last let through, a band, delay or
// hysteresis rule not applied, rules read out of number order or past the 64th,
// a message that does not say why, and a rule that reads back other than written
// (a derived channel's name among them).
#include <gtest/gtest.h>

#include "alarms/AlarmSettings.h"
#include "alarms/RuleText.h"

namespace vantrel::alarms {
namespace {

struct TextCase {
    const char* text;
    const char* readAs;  // as written back, or why it is refused
};

class RuleTexts : public ::testing::TestWithParam<TextCase> {};

TEST_P(RuleTexts, ReadBackAsWrittenOrRefusedSayingWhy) {
    const auto parsed = ParseRule(GetParam().text);
    const std::string* why = std::get_if<std::string>(&parsed);
    EXPECT_EQ(why ? *why : RuleText(std::get<AlarmRule>(parsed)), GetParam().readAs);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RuleTexts,
    ::testing::Values(
        TextCase{"ch3  ABOVE +80\t", "CH3 above 80 warning"},
        TextCase{"CH15 outside 4 20 Critical hysteresis 0.5 on-delay 2 off-delay 1.5 latching "
                 "clear D31 beep notify",
                 "CH15 outside 4 to 20 critical hysteresis 0.5 on-delay 2 off-delay 1.5 latching "
                 "clear D31 beep notify"},
        TextCase{"CH0 inside -1e3 to 2.5 set D0", "CH0 inside -1000 to 2.5 warning set D0"},
        TextCase{"d31 changes", "D31 changes warning"},
        TextCase{"CH16 above 1", "there is no channel CH16; channels are CH0 to CH15"},
        TextCase{"D32 on", "there is no line D32; lines are D0 to D31"},
        TextCase{"CH-1 above 1",
                 "\"CH-1\" is neither a channel (CH0 to CH15), a line (D0 to "
                 "D31) nor a derived channel's name"},
        TextCase{"dT Outside -2 to 2.5 hysteresis 0.5",
                 "dT outside -2 to 2.5 warning hysteresis 0.5"},
        TextCase{"flow_2 on", "flow_2 is a channel: above, below, outside or inside"},
        TextCase{"2dT above 1",
                 "\"2dT\" is neither a channel (CH0 to CH15), a line (D0 to "
                 "D31) nor a derived channel's name"},
        TextCase{"CH3 above 8O", "8O is not a number"},
        TextCase{"CH3 above 80,5", "80,5 is not a number"},
        TextCase{"CH3 below", "a number is missing after below"},
        TextCase{"CH3 inside 30 to 20", "the band's low end 30 is above its high end 20"},
        TextCase{"CH3 above 1 on-delay -2", "the on-delay -2 is negative"},
        TextCase{"CH3 above 1 off-delay 86401", "the off-delay 86401 is longer than 86400 seconds"},
        TextCase{"CH3 above 1 hysteresis -1", "the hysteresis -1 is negative"},
        TextCase{"CH3 outside 0 to 10 hysteresis 5.5",
                 "the hysteresis 5.5 is more than half the band"},
        TextCase{"D3 on hysteresis 1", "a line has no hysteresis"},
        TextCase{"CH3 on", "CH3 is a channel: above, below, outside or inside"},
        TextCase{"D3 above 1", "D3 is a line: on, off or changes"},
        TextCase{"CH3", "no condition after CH3"},
        TextCase{"CH3 over 1",
                 "\"over\" is not a condition (above, below, outside, inside, on, off or changes)"},
        TextCase{"CH3 above 1 set D32", "there is no line D32; lines are D0 to D31"},
        TextCase{"CH3 above 1 set D1 clear D2", "a rule sets one output line"},
        TextCase{"CH3 above 1 critcal", "unknown word \"critcal\""}));

TEST(AlarmSettings, RulesAreReadInNumberOrderUpToSixtyFourAndWrittenBackTheSame) {
    ini::FileTexts file;
    for (int number = 1; number <= 66; ++number) {
        file["alarms"]["rule" + std::to_string(number)] =
            "CH" + std::to_string(number % 16) + " above " + std::to_string(number);
    }
    file["alarms"]["rule3"] = "CH3 above 8O";
    file["alarms"]["rule4"] = " ";
    file["alarms"]["rul5"] = "CH5 below 1";
    file["alarms"]["sensor_fault_off"] = "CH2 CH17,ch15";
    std::vector<ini::Problem> problems;
    const AlarmSettings read = ReadAlarmSettings(file, problems);

    ASSERT_EQ(read.rules.size(), 64u);
    EXPECT_EQ(read.rules[1].limit, 2.0);
    EXPECT_EQ(read.rules[2].limit, 5.0);  // rule3 refused, rule4 left empty
    EXPECT_EQ(read.rules[63].limit, 66.0);
    EXPECT_EQ(read.off(FaultCheck::Sensor), (1u << 2) | (1u << 15));
    std::vector<std::string> texts;
    for (const ini::Problem& problem : problems) {
        texts.push_back(ini::ProblemText(problem));
    }
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "[alarms] rule3: \"CH3 above 8O\" is not valid (8O is not a number), "
                         "nothing is used instead.",
                         "[alarms] sensor_fault_off: \"CH2 CH17,ch15\" is not valid (there is no "
                         "channel CH17; channels are CH0 to CH15), \"CH2 CH15\" is used instead.",
                         "[alarms] rul5: no such setting, ignored. Did you mean rule5?"}));

    std::vector<ini::Problem> again;
    EXPECT_EQ(ReadAlarmSettings({{"alarms", AlarmSettingsTexts(read)}}, again), read);
    EXPECT_TRUE(again.empty());
    file["alarms"]["rule67"] = "D1 on";
    problems.clear();
    ReadAlarmSettings(file, problems);
    EXPECT_EQ(ini::ProblemText(problems[1]),
              "[alarms] rule67: \"D1 on\" is not valid (more than 64 rules), nothing is used "
              "instead.");
}

}  // namespace
}  // namespace vantrel::alarms
