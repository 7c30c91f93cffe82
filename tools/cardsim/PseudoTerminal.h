#pragma once

// The card's end of a pseudo-terminal and the COMn link that names the other end.

#include <string>

namespace cardsim {

class PseudoTerminal {
  public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens a new pseudo-terminal in raw mode and points linkPath at its device.
    bool Open(const std::string& linkPath, std::string& error);
    // Hangs up: the other end sees the device gone; the link is removed.
    void Close();
    bool isOpen() const { return master_ >= 0; }
    int fd() const { return master_; }
    const std::string& device() const { return device_; }

  private:
    int master_ = -1;
    // Kept open so that the card's end never sees a hang-up while the program
    // has the port closed (that would make poll() report it without end).
    int slave_ = -1;
    std::string device_;
    std::string link_;
};

}  // namespace cardsim
