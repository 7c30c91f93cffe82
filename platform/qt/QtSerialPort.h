#pragma once

#include <QPointer>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>
#include <string>

#include "platform/SerialPort.h"

namespace vantrel::platform {

// A card's port on Qt Serial Port at 9600 baud, 8N1. Received bytes raise the
// receive event on the user-interface thread; a vanished device (adapter
// unplugged, simulator hung up) raises the error event once per open.
//
// A card at 9600 baud brings about one byte a millisecond, and a USB adapter or
// pseudo-terminal hands each over on its own: woken for every byte, the program
// spent most of its time waking. So after delivering a few bytes the port rests
// for kReceiveRestMs before it looks again and delivers everything that came
// meanwhile, in order: a byte waits at most that long. A large delivery (a fast
// line) is followed by no rest, so nothing throttles it.
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

    // The longest a received byte waits before the receive event: a frame may
    // wait 20 ms at most, and the rest leaves room for the event loop's own
    // delays. A delivery of kRestBelowBytes or more is followed by no rest.
    static constexpr int kReceiveRestMs = 16;
    static constexpr std::size_t kRestBelowBytes = 256;

  private:
    void onErrorOccurred(QSerialPort::SerialPortError error);
    void onReadyRead();
    void startRest();
    void endRest();
    void onRestOver();
    bool readDuringRest();
    QSocketNotifier* readNotifier();

    std::string appDir_;
    int number_ = 0;
    bool errorRaised_ = false;
    QSerialPort port_;
    QTimer rest_;
    std::string restBytes_;  // read during a rest, not yet handed over
    QPointer<QSocketNotifier> notifier_;
};

}  // namespace vantrel::platform
