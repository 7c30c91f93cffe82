#include "app/QtProgramParts.h"

#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtTimer.h"
#include "publish/mosquitto/MosquittoClient.h"

namespace vantrel {

SerialPortFactory QtSerialPorts(const std::string& folder) {
    return [folder](int) { return std::make_unique<platform::QtSerialPort>(folder); };
}

platform::TimerFactory QtTimers() {
    return [](std::string_view name) {
        return std::make_unique<platform::QtTimer>(
            nullptr, QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    };
}

MqttClientFactory MosquittoClients() {
    return [](std::function<void()> wake) {
        return std::make_unique<publish::MosquittoClient>(std::move(wake));
    };
}

}  // namespace vantrel
