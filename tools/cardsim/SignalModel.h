#pragma once

// What the simulated card measures: a count per channel at a given time.

#include <optional>
#include <string>
#include <vector>

#include "SimOptions.h"

namespace cardsim {

// A thermocouple reference table: millivolts per whole degree from firstDegree.
struct ThermoTable {
    int firstDegree = 0;
    std::vector<double> millivolts;
    // Linear between the whole degrees, clamped to the table's ends.
    double MillivoltsAt(double degrees) const;
};

// One millivolt value per line; nothing if the file is missing or has no number.
std::optional<ThermoTable> LoadThermoTable(const std::string& path, int firstDegree);

class SignalModel {
  public:
    // Loads the tables the chosen signals need; false with a reason if one is missing.
    bool Load(const SimOptions& options, std::string& error);
    // Count of a channel at t seconds, limited to what a 16-bit converter gives.
    int CountAt(int channel, double seconds) const;

  private:
    double RawCountAt(const ChannelSignal& signal, double seconds) const;

    const SimOptions* options_ = nullptr;
    ThermoTable tableJ_;
    ThermoTable tableK_;
};

}  // namespace cardsim
