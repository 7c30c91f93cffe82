#pragma once

// The card's side of the protocol: answers commands and builds the frames it
// streams, with the faults chosen on the command line.

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "SignalModel.h"
#include "SimOptions.h"

namespace cardsim {

// One write() to the port; gapMs: pause after the previous write.
struct WriteUnit {
    std::string text;
    int gapMs = 0;
};

class CardSimulator {
  public:
    CardSimulator(const SimOptions& options, const SignalModel& signals);

    // Bytes from the program. Returns what the card answers at once.
    std::string OnBytes(std::string_view bytes);
    // Called with every command as it ends (CR or LF), before it is acted on.
    void setCommandObserver(std::function<void(std::string_view)> observer) {
        commandObserver_ = std::move(observer);
    }
    // Called with the output lines' pattern (line d in bit d) whenever a command
    // or a hang-up changes it.
    void setOutputsObserver(std::function<void(std::uint16_t)> observer) {
        outputsObserver_ = std::move(observer);
    }
    bool streaming() const { return streaming_; }
    std::uint16_t outputs() const { return outputs_; }
    // Whether the task's frame count is reached.
    bool finished() const;
    // Appends the next frame sets (one write, or halves when splitting).
    void AppendFrames(std::vector<WriteUnit>& out);
    // Power-on state after a hang-up: idle, outputs off.
    void Reset();

    std::uint64_t analogSent() const { return analogSent_; }
    std::uint64_t digitalSent() const { return digitalSent_; }

  private:
    void OnCommand(std::string_view command, std::string& reply);
    void AppendAnalog(std::string& text);
    void AppendDigital(std::string& text);
    void AppendNoise(std::string& text);
    void SetOutputs(std::uint16_t outputs);

    const SimOptions& options_;
    const SignalModel& signals_;
    std::function<void(std::string_view)> commandObserver_;
    std::function<void(std::uint16_t)> outputsObserver_;
    std::string command_;
    bool armed_ = false;
    bool streaming_ = false;
    std::uint16_t outputs_ = 0;
    std::int64_t taskFrames_ = 0;
    std::uint64_t analogSent_ = 0;
    std::uint64_t digitalSent_ = 0;
    std::uint64_t frameSets_ = 0;
    std::array<int, 8> lastCount_{};
    std::array<std::string, 8> countText_{};
    std::string ambientText_;
    std::mt19937 random_;
};

}  // namespace cardsim
