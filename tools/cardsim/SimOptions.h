#pragma once

// Command line of the simulated card.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace cardsim {

enum class SignalKind { Count, Sine, Ramp, Volts, MilliAmps, MilliVolts, Pt100, ThermoJ, ThermoK };

struct ChannelSignal {
    SignalKind kind = SignalKind::Count;
    // Meaning by kind: Count {count}; Sine {amplitude, period s, offset};
    // Ramp {from, to, period s}; Volts/MilliAmps/MilliVolts {value};
    // Pt100 {degrees, count at 100 ohm}; ThermoJ/ThermoK {degrees}.
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
};

struct SimOptions {
    std::string dir;
    int port = 0;
    std::string tablesDir;  // empty: dir
    std::string cardVersion = "1.02";
    double rate = 10.0;  // analog frames per second; 0 = as fast as the port takes
    int digitalEvery = 1;
    bool pace = false;
    bool logCommands = false;
    std::int64_t count = -1;  // analog frames per task, -1 = no limit
    std::array<ChannelSignal, 8> channels{};
    double ambient = 25.0;
    bool walkInputs = false;
    std::uint16_t inputs = 0;
    int zero10 = 0;
    int span10 = 32000;
    int zero200 = 0;
    int span200 = 32000;
    // Faults: 0 = off, N = every Nth frame.
    int noiseEvery = 0;
    bool split = false;
    int splitGapMs = 20;
    int batch = 1;
    int wrongLengthEvery = 0;
    int outOfRangeEvery = 0;
    int badHexEvery = 0;
    double silenceAfter = -1.0;
    double hangupAfter = -1.0;
    double returnAfter = -1.0;
    std::uint32_t seed = 1;
    // Set: write the demonstration's settings files here instead of simulating.
    std::string writeSettingsDir;
};

const char* HelpText();

// What the command line asks for besides a simulated card.
enum class InfoRequest { None, Help, Version };

// Parses argv; on error returns nothing and sets error to a one-line reason. --help
// and --version end the parse at once and are reported in info.
std::optional<SimOptions> ParseOptions(int argc, char** argv, std::string& error,
                                       InfoRequest& info);

}  // namespace cardsim
