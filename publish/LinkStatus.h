#pragma once

// How the program stands with the broker, for the status window's broker line.

#include <optional>
#include <string>

#include "publish/MqttClient.h"

namespace vantrel::publish {

struct LinkStatus {
    enum class State { Off, Connecting, Connected, NotConnected };
    State state = State::Off;
    std::string host;
    int port = 0;
    std::optional<LinkFailure> failure;  // why, when not connected
};

// "MQTT: connected to host:port", "MQTT: connecting…", "MQTT: not connected
// (reason)"; empty while publishing is off.
std::string BrokerLine(const LinkStatus& status);

}  // namespace vantrel::publish
