// The keys of vantrel.ini and the one rule they are read by. Guards against a
// yes/no word or a section's word missed, read in the wrong sense or with its case
// or blanks; a number's range off by one, a number out of range not given its
// nearest bound, a fraction or trailing junk taken for a number; a text rule let
// through or a good text refused; a password trimmed; a note that does not name
// the text found; a field whose default or key drifts from the table; and a
// README, man page or docs/mqtt.md table that gives other names, defaults, ranges
// or words than the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "alarms/AlarmSettings.h"
#include "app/Preferences.h"
#include "settings/TrendColourSettings.h"

namespace vantrel::testing {
namespace {

// The section's name from the table.
std::string SectionOf(std::string_view name) {
    for (const ini::Key& key : ini::kKeys) {
        if (key.name == name) {
            return std::string(key.section);
        }
    }
    return "";
}

TEST(IniKeysTest, EveryKindOfKeyIsReadByOneRule) {
    const struct {
        const char* key;
        const char* text;
        const char* readAs;  // as written back
        bool noted;
    } cases[] = {
        // clang-format off
        {"enabled", " Yes ", "true", false}, {"enabled", "on", "true", false},
        {"enabled", "1", "true", false}, {"tls", "OFF", "false", false},
        {"tls", "maybe", "false", true}, {"resume", "ture", "false", true},
        {"split", " Daily ", "daily", false}, {"split", "SIZE", "size", false},
        {"split", "weekly", "none", true}, {"sync", "none", "none", false},
        {"sync", "always", "record", true}, {"port", "65535", "65535", false},
        {"port", "65536", "65535", true}, {"port", "0", "1", true}, {"port", "12a", "1883", true},
        {"port", "", "1883", true}, {"interval_ms", "3600001", "3600000", true},
        {"interval_ms", "-5", "0", true}, {"qos", "2", "1", true},
        {"split_size_kb", "+2048", "2048", false},
        {"split_size_kb", "99999999999999999999", "1073741824", true},
        {"split_size_kb", "-99999999999999999999", "1", true},
        {"split_size_kb", "+-5", "10240", true}, {"sync_interval_s", "10s", "60", true},
        {"sync_interval_s", " 86400 ", "86400", false}, {"low_space_mb", "1.5", "200", true},
        {"low_space_mb", "0", "0", false}, {"station", "Bench_2-a", "Bench_2-a", false},
        {"station", "bench.lab", "rig", true}, {"station", "Prüfstand", "rig", true},
        {"station", "", "rig", true}, {"topic_prefix", "lab/rigs", "lab/rigs", false},
        {"topic_prefix", "lab//rigs", "vantrel", true}, {"topic_prefix", "/lab", "vantrel", true},
        {"topic_prefix", "lab/", "vantrel", true}, {"topic_prefix", "lab/#", "vantrel", true},
        {"topic_prefix", "a+b", "vantrel", true}, {"host", "broker.lab", "broker.lab", false},
        {"host", "a b", "localhost", true}, {"username", "a\tb", "", true},
        {"password", " p,w\"d ", " p,w\"d ", false}
        // clang-format on
    };
    for (const auto& c : cases) {
        const std::string section = SectionOf(c.key);
        std::vector<ini::Problem> problems;
        const ini::FileTexts read =
            PreferencesTexts(ReadPreferences({{section, {{c.key, c.text}}}}, "rig", problems));
        EXPECT_EQ(read.at(section).at(c.key), c.readAs) << c.key << "=" << c.text;
        ASSERT_EQ(problems.size(), c.noted ? 1u : 0u) << c.key << "=" << c.text;
        if (c.noted) {
            EXPECT_EQ(problems[0].found, c.text);
        }
    }
}

TEST(IniKeysTest, ATrendColourIsReadInEitherCaseAndAnyOtherTextIsNamed) {
    std::vector<ini::Problem> problems;
    const ini::TrendColourChoices colours = ini::ReadTrendColours(
        {{"trend", {{"ch2_colour", "#ff8000"}, {"ch5_colour", "#FF80G0"}, {"ch7_colour", ""}}}},
        problems);
    EXPECT_EQ(colours[2], (platform::Rgb{255, 128, 0}));
    EXPECT_FALSE(colours[5] || colours[7]);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].key, "ch5_colour");
}

TEST(IniKeysTest, EachFieldStartsAtItsKeysDefaultAndIsWrittenUnderItsName) {
    std::vector<ini::Problem> problems;
    ini::FileTexts read = PreferencesTexts(ReadPreferences({}, "lab-pc.example.org", problems));
    read.emplace(ini::kAlarmsSection,
                 alarms::AlarmSettingsTexts(alarms::ReadAlarmSettings({}, problems)));
    std::size_t keys = 0;
    for (const ini::Key& key : ini::kKeys) {
        if (key.numbered || key.perChannel) {
            continue;  // none of them until there is something to number or scale
        }
        const std::string expected = key.name == "station" ? "lab-pc" : ini::DefaultText(key);
        EXPECT_EQ(read.at(std::string(key.section)).at(std::string(key.name)), expected)
            << key.name;
        ++keys;
    }
    EXPECT_EQ(read.at("mqtt").size() + read.at("logging").size() + read.at("alarms").size() +
                  read.at("derived").size(),
              keys);
    EXPECT_TRUE(problems.empty());
}

std::string SourceFile(const std::string& name) {
    std::ifstream in(std::string(std::getenv("VANTREL_SOURCE_DIR")) + "/" + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// As the documents name it: "ruleN" for rule1, rule2, ..., "chN_unit" for ch0_unit to
// ch15_unit.
std::string DocumentedName(const ini::Key& key) {
    if (key.perChannel) {
        return "chN_" + std::string(key.name);
    }
    return std::string(key.name) + (key.numbered ? "N" : "");
}

// The line of a Markdown table whose first cell names the key.
std::string TableRow(const std::string& text, const ini::Key& key) {
    std::istringstream lines(text);
    const std::string name = "`" + DocumentedName(key) + "`";
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("| ") && line.substr(2, line.find(" |") - 2).find(name) != line.npos) {
            return line;
        }
    }
    return "";
}

// The man page's paragraph from the key's tag to the next one.
std::string ManParagraph(const std::string& text, const ini::Key& key) {
    const bool italicValue = key.kind == ini::KeyKind::Number || key.kind == ini::KeyKind::Text;
    const std::size_t start =
        text.find("\n.TP\n.B" + std::string(italicValue ? "I " : "R ") + DocumentedName(key) + " ");
    return start == text.npos ? "" : text.substr(start, text.find("\n.TP", start + 1) - start);
}

TEST(IniKeysTest, TheReadmeManPageAndMqttPageGiveEachKeysDefaultAndValues) {
    const std::string readme = SourceFile("README.md");
    const std::string man = SourceFile("packaging/vantrel.1.in");
    const std::string mqtt = SourceFile("docs/mqtt.md");
    for (const ini::Key& key : ini::kKeys) {
        const std::string name(key.name);
        const std::string fallback = ini::DefaultText(key);
        const std::string range = ini::RangeText(key);
        const bool flag = key.kind == ini::KeyKind::Flag;
        std::string values = flag ? "`true`, `false`" : "";  // "`none`, `daily`, `size`"
        std::string manValues = flag ? "true \" | \" false" : "";
        for (std::size_t index = 0; index < key.wordCount; ++index) {
            const std::string word(key.words[index]);
            values += (index == 0 ? "`" : ", `") + word + "`";
            manValues += (index == 0 ? "" : " \" | \" ") + word;
        }
        // Where, and what it must say.
        std::vector<std::pair<std::string, std::string>> says;
        if (key.section == ini::kMqttSection) {
            const std::string row = TableRow(mqtt, key);
            says = {{row, "`" + name + "`"}};
            if (!fallback.empty()) {
                says.emplace_back(row, " | `" + fallback + "` | ");
            }
            if (key.kind == ini::KeyKind::Number) {
                says.emplace_back(row, range);
            }
        } else if (key.kind == ini::KeyKind::Text) {
            const std::string documented = DocumentedName(key);
            says = {{TableRow(readme, key), "`" + documented + "`"},
                    {ManParagraph(man, key), ".BI " + documented + " \" = \" "}};
        } else if (key.kind == ini::KeyKind::Number) {
            says = {{TableRow(readme, key), " | " + range + " (" + fallback + ") |"},
                    {ManParagraph(man, key), "(default " + fallback + ", from " + range}};
        } else {
            says = {{TableRow(readme, key), " | " + values + " (`" + fallback + "`) |"},
                    {ManParagraph(man, key), ".BR " + name + " \" = \" " + manValues +
                                                 "\n(default\n.BR " + fallback + " )"}};
        }
        for (const auto& [where, what] : says) {
            EXPECT_NE(where.find(what), std::string::npos) << name << ": " << what;
        }
    }
}

}  // namespace
}  // namespace vantrel::testing
