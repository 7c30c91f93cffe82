#pragma once

#include <string>
#include <vector>

#include "platform/SerialPort.h"

namespace vantrel::testing {

// A port the test controls: whether it opens, what arrives, what was sent.
class FakeSerialPort : public platform::SerialPort {
  public:
    bool openSucceeds = true;
    int number = 0;
    bool opened = false;
    int openAttempts = 0;
    std::vector<std::string> sent;  // one entry per send() call
    std::string pending;            // received, not yet read

    void setPortNumber(int n) override { number = n; }
    int portNumber() const override { return number; }
    void open() override {
        ++openAttempts;
        opened = openSucceeds;
    }
    bool isOpen() const override { return opened; }
    void close() override { opened = false; }
    void send(std::string_view text) override { sent.emplace_back(text); }
    std::string readAvailable() override {
        std::string out;
        out.swap(pending);
        return out;
    }

    // Characters arrive and the receive notification fires.
    void receive(std::string_view text) {
        pending.append(text);
        raiseEvent(platform::PortEvent::BytesReceived);
    }
    // The device goes away.
    void fail() { raiseEvent(platform::PortEvent::Lost); }
    // All text sent so far, concatenated.
    std::string wire() const {
        std::string all;
        for (const auto& s : sent) {
            all += s;
        }
        return all;
    }
};

}  // namespace vantrel::testing
