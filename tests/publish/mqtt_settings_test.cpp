// Guards the [mqtt] section (its keys and the reading rule are in
// tests/engine/ini_keys_test.cpp): the file's texts not reading back as what was
// written, a broken station let through by the window, the host name's station
// keeping a dot.
#include <gtest/gtest.h>

#include "publish/MqttSettings.h"

namespace vantrel::testing {
namespace {

using publish::MqttSettings;

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
