#pragma once

// One serial port per card, reached only through this interface so that the card
// link runs against a test double as well as a real port. Line settings are fixed
// at 9600 baud, 8 data bits, no parity, one stop bit.

#include <functional>
#include <string>
#include <string_view>

namespace vantrel::platform {

// What a port tells its handler.
enum class PortEvent {
    // Bytes have arrived and can be read.
    BytesReceived,
    // The device reported a fatal error (adapter unplugged, device gone).
    Lost,
};

class SerialPort {
  public:
    using EventHandler = std::function<void(PortEvent event)>;

    virtual ~SerialPort() = default;

    virtual void setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;
    // Opens the port; failure is not an exception, isOpen() tells.
    virtual void open() = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // Queues the text for sending; never blocks.
    virtual void send(std::string_view text) = 0;
    // Everything received since the last read.
    virtual std::string readAvailable() = 0;

    void setEventHandler(EventHandler handler) { handler_ = std::move(handler); }

  protected:
    void raiseEvent(PortEvent event) {
        if (handler_) {
            handler_(event);
        }
    }

  private:
    EventHandler handler_;
};

}  // namespace vantrel::platform
