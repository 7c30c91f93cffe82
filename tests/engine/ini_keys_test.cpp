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

#include "app/Preferences.h"

namespace vantrel::testing {
namespace {

TEST(IniKeysTest, EveryKindOfKeyIsReadByOneRule) {
    const struct {
        const char* section;
        const char* key;
        const char* text;
        const char* readAs;  // as written back
        bool noted;
    } cases[] = {
        {"mqtt", "enabled", " Yes ", "true", false},
        {"mqtt", "enabled", "on", "true", false},
        {"mqtt", "enabled", "1", "true", false},
        {"mqtt", "tls", "OFF", "false", false},
        {"mqtt", "tls", "maybe", "false", true},
        {"logging", "resume", "ture", "false", true},
        {"logging", "split", " Daily ", "daily", false},
        {"logging", "split", "SIZE", "size", false},
        {"logging", "split", "weekly", "none", true},
        {"logging", "sync", "none", "none", false},
        {"logging", "sync", "always", "record", true},
        {"mqtt", "port", "65535", "65535", false},
        {"mqtt", "port", "65536", "65535", true},
        {"mqtt", "port", "0", "1", true},
        {"mqtt", "port", "12a", "1883", true},
        {"mqtt", "port", "", "1883", true},
        {"mqtt", "interval_ms", "3600001", "3600000", true},
        {"mqtt", "interval_ms", "-5", "0", true},
        {"mqtt", "qos", "2", "1", true},
        {"logging", "split_size_kb", "+2048", "2048", false},
        {"logging", "split_size_kb", "99999999999999999999", "1073741824", true},
        {"logging", "split_size_kb", "-99999999999999999999", "1", true},
        {"logging", "split_size_kb", "+-5", "10240", true},
        {"logging", "sync_interval_s", "10s", "60", true},
        {"logging", "sync_interval_s", " 86400 ", "86400", false},
        {"logging", "low_space_mb", "1.5", "200", true},
        {"logging", "low_space_mb", "0", "0", false},
        {"mqtt", "station", "Bench_2-a", "Bench_2-a", false},
        {"mqtt", "station", "bench.lab", "rig", true},
        {"mqtt", "station", "Prüfstand", "rig", true},
        {"mqtt", "station", "", "rig", true},
        {"mqtt", "topic_prefix", "lab/rigs", "lab/rigs", false},
        {"mqtt", "topic_prefix", "lab//rigs", "vantrel", true},
        {"mqtt", "topic_prefix", "/lab", "vantrel", true},
        {"mqtt", "topic_prefix", "lab/", "vantrel", true},
        {"mqtt", "topic_prefix", "lab/#", "vantrel", true},
        {"mqtt", "topic_prefix", "a+b", "vantrel", true},
        {"mqtt", "host", "broker.lab", "broker.lab", false},
        {"mqtt", "host", "a b", "localhost", true},
        {"mqtt", "username", "a\tb", "", true},
        {"mqtt", "password", " p,w\"d ", " p,w\"d ", false},
    };
    for (const auto& c : cases) {
        std::vector<ini::Problem> problems;
        const ini::FileTexts read =
            PreferencesTexts(ReadPreferences({{c.section, {{c.key, c.text}}}}, "rig", problems));
        EXPECT_EQ(read.at(c.section).at(c.key), c.readAs) << c.key << "=" << c.text;
        ASSERT_EQ(problems.size(), c.noted ? 1u : 0u) << c.key << "=" << c.text;
        if (c.noted) {
            EXPECT_EQ(problems[0].found, c.text);
        }
    }
}

TEST(IniKeysTest, EachFieldStartsAtItsKeysDefaultAndIsWrittenUnderItsName) {
    std::vector<ini::Problem> problems;
    const ini::FileTexts read =
        PreferencesTexts(ReadPreferences({}, "lab-pc.example.org", problems));
    std::size_t keys = 0;
    for (const ini::Key& key : ini::kKeys) {
        const std::string expected = key.name == "station" ? "lab-pc" : ini::DefaultText(key);
        EXPECT_EQ(read.at(std::string(key.section)).at(std::string(key.name)), expected)
            << key.name;
        ++keys;
    }
    EXPECT_EQ(read.at("mqtt").size() + read.at("logging").size(), keys);
    EXPECT_TRUE(problems.empty());
}

std::string SourceFile(const std::string& name) {
    std::ifstream in(std::string(std::getenv("VANTREL_SOURCE_DIR")) + "/" + name);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The line of a Markdown table whose first cell names the key.
std::string TableRow(const std::string& text, const ini::Key& key) {
    std::istringstream lines(text);
    const std::string name = "`" + std::string(key.name) + "`";
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("| ") && line.substr(2, line.find(" |") - 2).find(name) != line.npos) {
            return line;
        }
    }
    return "";
}

// The man page's paragraph from the key's tag to the next one.
std::string ManParagraph(const std::string& text, const ini::Key& key) {
    const std::string tag = "\n.TP\n." +
                            std::string(key.kind == ini::KeyKind::Number ? "BI " : "BR ") +
                            std::string(key.name) + " \" = \" ";
    const std::size_t start = text.find(tag);
    return start == std::string::npos ? ""
                                      : text.substr(start, text.find("\n.TP", start + 1) - start);
}

std::string Quoted(std::string_view word) {
    return "`" + std::string(word) + "`";
}

TEST(IniKeysTest, TheReadmeManPageAndMqttPageGiveEachKeysDefaultAndValues) {
    const std::string readme = SourceFile("README.md");
    const std::string man = SourceFile("packaging/vantrel.1.in");
    const std::string mqtt = SourceFile("docs/mqtt.md");
    ASSERT_FALSE(readme.empty() || man.empty() || mqtt.empty());
    for (const ini::Key& key : ini::kKeys) {
        const std::string fallback = ini::DefaultText(key);
        std::vector<std::string> words;
        for (std::size_t index = 0; index < key.wordCount; ++index) {
            words.emplace_back(key.words[index]);
        }
        if (key.kind == ini::KeyKind::Flag) {
            words = {"true", "false"};
        }
        if (key.section == ini::kMqttSection) {
            const std::string row = TableRow(mqtt, key);
            EXPECT_NE(row, "") << key.name;
            if (!fallback.empty()) {
                EXPECT_NE(row.find(" | " + Quoted(fallback) + " | "), std::string::npos) << row;
            }
            if (key.kind == ini::KeyKind::Number) {
                EXPECT_NE(row.find(ini::RangeText(key)), std::string::npos) << row;
            }
            continue;
        }
        std::string values;
        std::string manHead = "\n.TP\n.BR " + std::string(key.name) + " \" = \" ";
        for (const std::string& word : words) {
            values += (values.empty() ? "" : ", ") + Quoted(word);
            manHead += (&word == &words.front() ? "" : " \" | \" ") + word;
        }
        const std::string paragraph = ManParagraph(man, key);
        if (key.kind == ini::KeyKind::Number) {
            EXPECT_NE(
                TableRow(readme, key).find(" | " + ini::RangeText(key) + " (" + fallback + ") |"),
                std::string::npos)
                << key.name;
            EXPECT_NE(paragraph.find("(default " + fallback + ", from " + ini::RangeText(key)),
                      std::string::npos)
                << key.name << paragraph;
        } else {
            EXPECT_NE(TableRow(readme, key).find(" | " + values + " (" + Quoted(fallback) + ") |"),
                      std::string::npos)
                << key.name;
            EXPECT_TRUE(paragraph.starts_with(manHead + "\n")) << key.name << paragraph;
            EXPECT_NE(paragraph.find("(default\n.BR " + fallback + " )"), std::string::npos)
                << key.name << paragraph;
        }
    }
}

}  // namespace
}  // namespace vantrel::testing
