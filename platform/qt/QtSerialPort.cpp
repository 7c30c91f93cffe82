#include "platform/qt/QtSerialPort.h"

#include <QSocketNotifier>
#include <array>
#include <chrono>
#include <utility>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "platform/PortNaming.h"

namespace vantrel::platform {

namespace {
// Long enough for a few commands at 9600 baud, short enough not to hang an exit
// on a device that no longer takes data.
constexpr int kFlushOnCloseMs = 250;
}  // namespace

QtSerialPort::QtSerialPort(std::string appDir) : appDir_(std::move(appDir)) {
    rest_.setSingleShot(true);
    rest_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&port_, &QSerialPort::readyRead, &port_, [this] { onReadyRead(); });
    QObject::connect(&rest_, &QTimer::timeout, &port_, [this] { onRestOver(); });
    QObject::connect(&port_, &QSerialPort::errorOccurred, &port_,
                     [this](QSerialPort::SerialPortError error) { onErrorOccurred(error); });
}

QtSerialPort::~QtSerialPort() {
    // No events into a handler whose owner may already be gone.
    rest_.stop();
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
    rest_.stop();
    restBytes_.clear();
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
    std::string bytes;
    // The port's own buffer holds what came before the rest, so it goes first.
    if (port_.bytesAvailable() > 0) {
        const QByteArray buffered = port_.read(port_.bytesAvailable());
        bytes.assign(buffered.constData(), static_cast<std::size_t>(buffered.size()));
    }
    bytes += restBytes_;
    restBytes_.clear();
    return bytes;
}

void QtSerialPort::onReadyRead() {
    const auto arrived = static_cast<std::size_t>(port_.bytesAvailable()) + restBytes_.size();
    raiseEvent(PortEvent::BytesReceived);
    if (!port_.isOpen()) {
        return;
    }
    if (arrived < kRestBelowBytes) {
        startRest();
    } else {
        endRest();
    }
}

// Qt Serial Port reads through a socket notifier of its own, a child of the port;
// switching it off for the rest is what stops the wake-ups. Where the port has no
// such notifier (other platforms), every arrival is delivered as it comes.
void QtSerialPort::startRest() {
    QSocketNotifier* notifier = readNotifier();
    if (notifier == nullptr) {
        return;
    }
    // Reading through the port may have switched it back on.
    notifier->setEnabled(false);
    if (rest_.isActive()) {
        return;
    }
    // The first rest ends on a grid of instants that every port shares, so that a
    // single wake-up serves both cards; from there the rests repeat in step.
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                         std::chrono::steady_clock::now().time_since_epoch())
                         .count();
    rest_.setSingleShot(true);
    rest_.start(static_cast<int>(kReceiveRestMs - now % kReceiveRestMs));
}

void QtSerialPort::endRest() {
    rest_.stop();
    if (QSocketNotifier* notifier = readNotifier()) {
        notifier->setEnabled(true);
    }
}

void QtSerialPort::onRestOver() {
    if (!port_.isOpen()) {
        rest_.stop();
        return;
    }
    if (rest_.isSingleShot()) {
        rest_.setSingleShot(false);
        rest_.start(kReceiveRestMs);
    }
    if (readDuringRest()) {
        onReadyRead();
        return;
    }
    // The line is quiet (or the device is in trouble, which the port's own reading
    // reports): the next byte wakes the port at once.
    endRest();
}

// Whether anything waits for the handler: bytes the port buffered while a handler
// ran its own event loop (a message box), and what the device holds now. The
// device is read here directly: every read through the port switches its
// notifier on, and switching it off again costs the event loop two more turns.
bool QtSerialPort::readDuringRest() {
#ifdef Q_OS_UNIX
    std::array<char, 4096> chunk{};
    for (;;) {
        const ssize_t n = ::read(port_.handle(), chunk.data(), chunk.size());
        if (n <= 0) {
            break;
        }
        restBytes_.append(chunk.data(), static_cast<std::size_t>(n));
        if (static_cast<std::size_t>(n) < chunk.size()) {
            break;
        }
    }
#endif
    return port_.bytesAvailable() > 0 || !restBytes_.empty();
}

QSocketNotifier* QtSerialPort::readNotifier() {
    if (!port_.isOpen()) {
        return nullptr;
    }
    if (notifier_ != nullptr && notifier_->socket() == port_.handle()) {
        return notifier_;
    }
    // Found once per opening: a closed port's notifier may linger until deleted,
    // so only the one watching the open device counts.
    notifier_ = nullptr;
    const auto notifiers = port_.findChildren<QSocketNotifier*>(Qt::FindDirectChildrenOnly);
    for (QSocketNotifier* notifier : notifiers) {
        if (notifier->type() == QSocketNotifier::Read && notifier->socket() == port_.handle()) {
            notifier_ = notifier;
        }
    }
    return notifier_;
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
