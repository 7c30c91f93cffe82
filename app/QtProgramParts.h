#pragma once

// The parts the program runs on, made by Qt and libmosquitto: for main and for the
// end-to-end tests that run the real thing.

#include <string>

#include "app/Program.h"

namespace vantrel {

// Each card's port found by its number in folder (see platform/PortNaming.h).
SerialPortFactory QtSerialPorts(const std::string& folder);
platform::TimerFactory QtTimers();
MqttClientFactory MosquittoClients();

}  // namespace vantrel
