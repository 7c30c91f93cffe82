#include "platform/qt/QtSerialPort.h"

#include <utility>

#include "platform/PortNaming.h"

namespace vantrel::platform {

namespace {
// Long enough for a few commands at 9600 baud, short enough not to hang an exit
// on a device that no longer takes data.
constexpr int kFlushOnCloseMs = 250;
}  // namespace

QtSerialPort::QtSerialPort(std::string appDir) : appDir_(std::move(appDir)) {
    QObject::connect(&port_, &QSerialPort::readyRead, &port_,
                     [this] { raiseEvent(PortEvent::BytesReceived); });
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { onErrorOccurred(error); });
}

QtSerialPort::~QtSerialPort() {
    // No events into a handler whose owner may already be gone.
    port_.disconnect();
    // Writes go out from the event loop; the stop command sent at shut-down must
    // reach the card before the program ends, so wait briefly for it here.
    if (port_.isOpen() && port_.bytesToWrite() > 0) {
        port_.waitForBytesWritten(kFlushOnCloseMs);
    }
    port_.close();
}

void QtSerialPort::setPortNumber(int number) {
    number_ = number;
}

int QtSerialPort::portNumber() const {
    return number_;
}

void QtSerialPort::open() {
    if (port_.isOpen()) {
        return;
    }
    port_.setPortName(QString::fromStdString(SerialDeviceName(number_, appDir_)));
    port_.setBaudRate(QSerialPort::Baud9600);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    errorRaised_ = false;
    port_.open(QIODevice::ReadWrite);
}

bool QtSerialPort::isOpen() const {
    return port_.isOpen();
}

void QtSerialPort::close() {
    port_.close();
}

void QtSerialPort::send(std::string_view text) {
    if (!port_.isOpen()) {
        return;
    }
    // QSerialPort queues the bytes and would write them from the event loop; the
    // flush hands them to the device now, so the pause between two start commands
    // is the pause on the wire.
    port_.write(text.data(), static_cast<qint64>(text.size()));
    port_.flush();
}

std::string QtSerialPort::readAvailable() {
    const QByteArray bytes = port_.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void QtSerialPort::onErrorOccurred(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::ResourceError:
        case QSerialPort::ReadError:
        case QSerialPort::WriteError:
            // Only an open port can be lost; a failed open stays a silent failure.
            if (port_.isOpen() && !errorRaised_) {
                errorRaised_ = true;
                raiseEvent(PortEvent::Lost);
            }
            break;
        default:
            break;
    }
}

}  // namespace vantrel::platform
