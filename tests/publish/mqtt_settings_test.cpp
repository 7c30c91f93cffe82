// Guards the [mqtt] section (its keys and the reading rule are in
// tests/engine/ini_keys_test.cpp): the file's texts not reading back as what was
// written, the host name's station keeping a dot or a blank.
#include <gtest/gtest.h>

#include "publish/MqttSettings.h"

namespace vantrel::testing {
namespace {

using publish::MqttSettings;

// The window's refusal of a broken station, text and all, is SettingsWindowTest's.
TEST(MqttSettingsTest, WrittenTextsReadBack) {
    MqttSettings settings{true, "broker.lab", 8883,      "rig_2", "lab/rigs", 0,
                          0,    "ann",        "se,cret", true,    "/ca.pem"};
    std::vector<ini::Problem> problems;
    EXPECT_EQ(
        publish::ReadMqttSettings({{"mqtt", publish::MqttSettingsTexts(settings)}}, "x", problems),
        settings);
    EXPECT_TRUE(problems.empty());
}

TEST(MqttSettingsTest, StationFromTheHostName) {
    // "lab-pc.example.org" gives "lab-pc": IniKeysTest.EachFieldStartsAtItsKeysDefault...
    EXPECT_EQ(publish::StationFromHostName("rig #2"), "rig__2");
    EXPECT_EQ(publish::StationFromHostName(""), "vantrel");
}

}  // namespace
}  // namespace vantrel::testing
