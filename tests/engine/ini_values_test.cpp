// Guards the rules for vantrel.ini's values: a yes/no word missed or taken in the
// wrong sense, a number's range off by one or a trailing letter let through, a
// rejected text kept instead of the default, and the message that names the key,
// the text found and the value used.
#include <gtest/gtest.h>

#include "engine/IniValues.h"

namespace vantrel::testing {
namespace {

TEST(IniValuesTest, EachTextIsTakenOrReplacedByTheDefault) {
    const struct {
        const char* text;
        bool flag;     // read with default false
        int number;    // read as 1..100 with default 7
        bool flagBad;  // noted as a problem
        bool numberBad;
    } cases[] = {
        {"true", true, 7, false, true},   {"Yes", true, 7, false, true},
        {"ON", true, 7, false, true},     {"1", true, 1, false, false},
        {"false", false, 7, false, true}, {"off", false, 7, false, true},
        {"0", false, 7, false, true},     {"100", false, 100, true, false},
        {"101", false, 7, true, true},    {"12a", false, 7, true, true},
        {"", false, 7, true, true},       {"-5", false, 7, true, true},
        {"maybe", false, 7, true, true},
    };
    for (const auto& c : cases) {
        const ini::FileTexts file{{"s", {{"f", c.text}, {"n", c.text}}}};
        std::vector<ini::Problem> problems;
        ini::SectionReader reader("s", file, problems);
        EXPECT_EQ(reader.flag("f", false), c.flag) << c.text;
        EXPECT_EQ(reader.number("n", 1, 100, 7), c.number) << c.text;
        EXPECT_EQ(problems.size(), std::size_t{c.flagBad} + std::size_t{c.numberBad}) << c.text;
    }
}

TEST(IniValuesTest, MissingKeysAreQuietAndProblemsNameKeyFoundAndUsed) {
    const ini::FileTexts file{{"mqtt", {{"port", "99999"}, {"station", "a b"}}}};
    std::vector<ini::Problem> problems;
    ini::SectionReader reader("mqtt", file, problems);
    EXPECT_EQ(reader.number("port", 1, 65535, 1883), 1883);
    EXPECT_EQ(
        reader.text("station", "rig", [](std::string_view t) { return t.find(' ') == t.npos; }),
        "rig");
    EXPECT_EQ(reader.text("host", "localhost"), "localhost");
    EXPECT_TRUE(reader.flag("tls", true));
    EXPECT_EQ(ini::ProblemsMessage(problems),
              "vantrel.ini holds values that cannot be used:\n"
              "[mqtt] port: \"99999\" is not valid, 1883 is used instead.\n"
              "[mqtt] station: \"a b\" is not valid, \"rig\" is used instead.");
}

}  // namespace
}  // namespace vantrel::testing
