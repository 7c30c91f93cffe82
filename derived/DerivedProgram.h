#pragma once

// The derived channels compiled once, when their settings or the channel names
// change, and evaluated on every frame. An expression names a channel by slot
// (ch0 to ch15) or by its name when that is an identifier no other channel, slot,
// function or constant has, and the other derived channels by theirs; it is
// evaluated after those it uses. It may use + - * / ^, comparisons, && ||,
// c ? a : b, and abs, sqrt, exp, log (natural), min, max and mean over a list.
//
// A derived channel is empty for a frame when its result is not finite, or when
// a channel or derived channel it names has no value (not yet, or it failed to
// convert), even one only a branch not taken would use: a value is never made up.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "derived/DerivedChannel.h"
#include "engine/AcquisitionState.h"
#include "engine/CardFrames.h"

namespace vantrel::derived {

// The latest value of each channel slot 0..15; none for a slot without one.
using ChannelValues = std::array<std::optional<double>, kUsedChannels>;
// By the place of the derived channel in its settings.
using DerivedValues = std::array<std::optional<double>, kMaxDerivedChannels>;

// A derived channel that cannot be evaluated, and why.
struct CompileError {
    // Its place in the settings.
    std::size_t channel = 0;
    // Where in its expression, from 0; none when the name itself is the fault.
    std::optional<std::size_t> position;
    std::string why;
    bool operator==(const CompileError&) const = default;
};
// "dT: unknown name ch16 at character 6 of the expression".
std::string CompileErrorText(const DerivedSettings& settings, const CompileError& error);

class DerivedProgram {
  public:
    // channelNames: the names of slots 0..15 (state.ChannelName). A channel with
    // an error is left out and always empty; the others are evaluated as usual.
    static DerivedProgram Compile(const DerivedSettings& settings,
                                  std::span<const std::string> channelNames);
    DerivedProgram();
    DerivedProgram(DerivedProgram&&) noexcept;
    DerivedProgram& operator=(DerivedProgram&&) noexcept;
    ~DerivedProgram();

    const std::vector<CompileError>& errors() const { return errors_; }
    // The settings' places in the order they are evaluated.
    std::vector<std::size_t> order() const;
    DerivedValues evaluate(const ChannelValues& values) const;
    // The channel slots (slot s in bit s) the derived channel at this place needs,
    // through the derived channels it uses too; none when it has an error.
    std::optional<std::uint32_t> slotsUsed(std::size_t channel) const;

  private:
    struct Compiled;
    struct Storage;
    std::unique_ptr<Storage> storage_;
    std::vector<Compiled> compiled_;
    std::vector<CompileError> errors_;
};

}  // namespace vantrel::derived
