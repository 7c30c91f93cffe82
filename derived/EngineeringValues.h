#pragma once

// What the user reads from each frame, worked out once, before any output sees
// it: the channels through their user scales and the derived channels over them.
// The derived channels are compiled again when their settings or the channel
// names they may use change.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "derived/DerivedProgram.h"
#include "engine/AcquisitionState.h"
#include "engine/CardFrames.h"
#include "engine/ChannelScale.h"

namespace vantrel::derived {

class EngineeringValues {
  public:
    void setScales(const ChannelScales& scales) { scales_ = scales; }
    // Compiled with the channel names the state holds; the texts of what cannot be
    // evaluated ("dT: unknown name ch16 at character 6 of the expression").
    std::vector<std::string> setDerived(const DerivedSettings& settings,
                                        const AcquisitionState& state);
    // Fills the frame's scaled and derived values. Slots of a card whose frame
    // failed for them have no value until a frame converts them again.
    void finish(ConvertedFrame& frame, const AcquisitionState& state);

    const ChannelScales& scales() const { return scales_; }
    const DerivedSettings& derivedSettings() const { return settings_; }
    const std::vector<std::string>& errors() const { return errors_; }
    // After the latest frame of either card.
    const ChannelValues& latestScaled() const { return latest_; }
    const DerivedValues& latestDerived() const { return derived_; }

  private:
    void compile(const AcquisitionState& state);

    ChannelScales scales_{};
    DerivedSettings settings_;
    DerivedProgram program_;
    std::vector<std::string> errors_;
    // The names the program was compiled with.
    std::array<std::string, kUsedChannels> names_{};
    ChannelValues latest_{};
    DerivedValues derived_{};
};

}  // namespace vantrel::derived
