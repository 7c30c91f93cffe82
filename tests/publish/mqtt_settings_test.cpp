// Guards the [mqtt] keys and the reading rules under them: a default changed, a
// yes/no word missed or taken in the wrong sense, a number's range off by one or a
// trailing letter let through, a station or topic prefix that would break the
// topics let through (or a good one refused), the host name's station keeping a
// dot, and the file's texts not reading back as what was written.
#include <gtest/gtest.h>

#include "publish/MqttSettings.h"

namespace vantrel::testing {
namespace {

using publish::MqttSettings;

TEST(MqttSettingsTest, MissingFileGivesTheDefaults) {
    std::vector<ini::Problem> problems;
    const MqttSettings expected{false, "localhost", 1883, "rig-7", "vantrel", 1000,
                                1,     "",          "",   false,   ""};
    EXPECT_EQ(publish::ReadMqttSettings({}, "rig-7", problems), expected);
    EXPECT_TRUE(problems.empty());
}

TEST(MqttSettingsTest, EachKeyKeepsItsRule) {
    const struct {
        const char* key;
        const char* text;
        const char* readAs;  // nothing: refused, the default is used
    } cases[] = {
        {"enabled", "Yes", "true"},
        {"enabled", "on", "true"},
        {"enabled", "1", "true"},
        {"tls", "OFF", "false"},
        {"tls", "maybe", nullptr},
        {"station", "Bench_2-a", "Bench_2-a"},
        {"station", "bench.lab", nullptr},
        {"station", "Prüfstand", nullptr},
        {"station", "", nullptr},
        {"topic_prefix", "lab/rigs", "lab/rigs"},
        {"topic_prefix", "lab//rigs", nullptr},
        {"topic_prefix", "/lab", nullptr},
        {"topic_prefix", "lab/", nullptr},
        {"topic_prefix", "lab/#", nullptr},
        {"topic_prefix", "a+b", nullptr},
        {"host", "broker.lab", "broker.lab"},
        {"host", "a b", nullptr},
        {"port", "65535", "65535"},
        {"port", "65536", nullptr},
        {"port", "0", nullptr},
        {"port", "12a", nullptr},
        {"port", "", nullptr},
        {"interval_ms", "0", "0"},
        {"interval_ms", "3600000", "3600000"},
        {"interval_ms", "3600001", nullptr},
        {"interval_ms", "-5", nullptr},
        {"qos", "0", "0"},
        {"qos", "2", nullptr},
        {"username", "ann", "ann"},
        {"username", "a\tb", nullptr},
        {"password", "p,w\"d", "p,w\"d"},
    };
    MqttSettings defaults;
    defaults.station = "rig";
    for (const auto& c : cases) {
        std::vector<ini::Problem> problems;
        const MqttSettings read =
            publish::ReadMqttSettings({{"mqtt", {{c.key, c.text}}}}, "rig", problems);
        EXPECT_EQ(problems.empty(), c.readAs != nullptr) << c.key << "=" << c.text;
        if (c.readAs != nullptr) {
            EXPECT_EQ(publish::MqttSettingsTexts(read).at(c.key), c.readAs) << c.key;
        } else {
            EXPECT_EQ(read, defaults) << c.key << "=" << c.text;
        }
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
