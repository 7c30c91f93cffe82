// Guards the [mqtt] keys: a default changed, a station or topic prefix that would
// break the topics let through (or a good one refused), the host name's station
// keeping a dot, and the file's texts not reading back as what was written.
#include <gtest/gtest.h>

#include "publish/MqttSettings.h"

namespace vantrel::testing {
namespace {

using publish::MqttSettings;

TEST(MqttSettingsTest, MissingFileGivesTheDefaults) {
    std::vector<ini::Problem> problems;
    const MqttSettings read = publish::ReadMqttSettings({}, "rig-7", problems);
    MqttSettings expected;
    expected.station = "rig-7";
    EXPECT_EQ(read, expected);
    EXPECT_FALSE(read.enabled);
    EXPECT_EQ(read.host, "localhost");
    EXPECT_EQ(read.port, 1883);
    EXPECT_EQ(read.topicPrefix, "vantrel");
    EXPECT_EQ(read.intervalMs, 1000);
    EXPECT_EQ(read.qos, 1);
    EXPECT_FALSE(read.tls);
    EXPECT_TRUE(problems.empty());
}

TEST(MqttSettingsTest, EachKeyKeepsItsRule) {
    const struct {
        const char* key;
        const char* text;
        bool valid;
    } cases[] = {
        {"station", "Bench_2-a", true},
        {"station", "bench.lab", false},
        {"station", "Prüfstand", false},
        {"station", "", false},
        {"topic_prefix", "lab/rigs", true},
        {"topic_prefix", "lab//rigs", false},
        {"topic_prefix", "/lab", false},
        {"topic_prefix", "lab/", false},
        {"topic_prefix", "lab/#", false},
        {"topic_prefix", "a+b", false},
        {"host", "broker.lab", true},
        {"host", "a b", false},
        {"port", "65535", true},
        {"port", "65536", false},
        {"port", "0", false},
        {"interval_ms", "0", true},
        {"interval_ms", "3600000", true},
        {"interval_ms", "3600001", false},
        {"qos", "0", true},
        {"qos", "2", false},
        {"username", "ann", true},
        {"username", "a\tb", false},
        {"password", "p,w\"d", true},
        {"tls", "maybe", false},
    };
    for (const auto& c : cases) {
        std::vector<ini::Problem> problems;
        const MqttSettings read =
            publish::ReadMqttSettings({{"mqtt", {{c.key, c.text}}}}, "rig", problems);
        EXPECT_EQ(problems.empty(), c.valid) << c.key << "=" << c.text;
        MqttSettings defaults;
        defaults.station = "rig";
        EXPECT_EQ(read == defaults, !c.valid) << c.key;
    }
}

TEST(MqttSettingsTest, WrittenTextsReadBackAndTheWindowRefusesBrokenOnes) {
    MqttSettings settings{true, "broker.lab", 8883,      "rig_2", "lab/rigs", 0,
                          0,    "ann",        "se,cret", true,    "/ca.pem"};
    std::vector<ini::Problem> problems;
    EXPECT_EQ(
        publish::ReadMqttSettings({{"mqtt", publish::MqttSettingsTexts(settings)}}, "x", problems),
        settings);
    EXPECT_TRUE(problems.empty());
    settings.station = "rig 2";
    EXPECT_EQ(publish::MqttSettingsProblem(settings),
              "The station name may hold only letters, digits, '-' and '_'.");
}

TEST(MqttSettingsTest, StationFromTheHostName) {
    EXPECT_EQ(publish::StationFromHostName("lab-pc.example.org"), "lab-pc");
    EXPECT_EQ(publish::StationFromHostName("rig #2"), "rig__2");
    EXPECT_EQ(publish::StationFromHostName(""), "vantrel");
}

}  // namespace
}  // namespace vantrel::testing
