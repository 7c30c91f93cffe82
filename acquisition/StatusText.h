#pragma once

// What the status window shows, as plain texts, so that a run without windows
// reports the same words on standard error.

#include <string>
#include <vector>

#include "engine/AcquisitionState.h"

namespace vantrel::acquisition {

struct CardStatusText {
    std::string status;  // "Card Connected. Ver.1.02" / "Card Disconnected"
    std::string port;    // "USB : COM1"
    std::string fault;   // "No Faults", "Card not found", "COM lost", "COM not found"
    std::string task;    // "Task Running" / " No Task Running"
};

// card: 0 is card 1, any other value card 2.
CardStatusText CardStatus(const AcquisitionState& state, int card);
// "Saving", "Not Saving" or "Save error".
std::string SaveStatus(const AcquisitionState& state);
// The log file records go to, by its name alone ("run-20261207-000000.csv"), with
// " (resumed)" after a restart and ", disk space low"; "No log file" while logging
// is off.
std::string LogFileStatus(const AcquisitionState& state);

// One line for a log of changes: "card 1: Card Connected. Ver.1.02, No Faults,
// Task Running", "logging: Saving" and, while logging, "log file: /data/run.csv".
std::string CardStatusLine(const AcquisitionState& state, int card);
std::string SaveStatusLine(const AcquisitionState& state);
std::string LogFileLine(const AcquisitionState& state);

// The status lines that changed since the last call, card 1, card 2, logging, and
// the log file while logging.
class StatusChanges {
  public:
    std::vector<std::string> next(const AcquisitionState& state);

  private:
    std::vector<std::string> last_;
};

}  // namespace vantrel::acquisition
