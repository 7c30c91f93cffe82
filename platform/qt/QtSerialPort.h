#pragma once

#include <QSerialPort>
#include <string>

#include "platform/SerialPort.h"

namespace vantrel::platform {

// A card's port on Qt Serial Port at 9600 baud, 8N1. Received bytes raise the
// receive event on the user-interface thread; a vanished device (adapter
// unplugged, simulator hung up) raises the error event once per open.
class QtSerialPort : public SerialPort {
  public:
    // appDir: the start folder, where COMn links may name the devices.
    explicit QtSerialPort(std::string appDir);
    ~QtSerialPort() override;
    QtSerialPort(const QtSerialPort&) = delete;
    QtSerialPort& operator=(const QtSerialPort&) = delete;

    void setPortNumber(int number) override;
    int portNumber() const override;
    void open() override;
    bool isOpen() const override;
    void close() override;
    void send(std::string_view text) override;
    std::string readAvailable() override;

    const QSerialPort& device() const { return port_; }

  private:
    void onErrorOccurred(QSerialPort::SerialPortError error);

    std::string appDir_;
    int number_ = 0;
    bool errorRaised_ = false;
    QSerialPort port_;
};

}  // namespace vantrel::platform
