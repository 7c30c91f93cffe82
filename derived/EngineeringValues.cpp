#include "derived/EngineeringValues.h"

#include <algorithm>

#include "engine/ScaledValue.h"

namespace vantrel::derived {

std::vector<std::string> EngineeringValues::setDerived(const DerivedSettings& settings,
                                                       const AcquisitionState& state) {
    settings_ = settings;
    compile(state);
    return errors_;
}

void EngineeringValues::compile(const AcquisitionState& state) {
    std::copy_n(state.ChannelName.begin(), kUsedChannels, names_.begin());
    program_ = DerivedProgram::Compile(settings_, names_);
    errors_.clear();
    for (const CompileError& error : program_.errors()) {
        errors_.push_back(CompileErrorText(settings_, error));
    }
}

void EngineeringValues::finish(ConvertedFrame& frame, const AcquisitionState& state) {
    const ScaledValues scaled = ScaleFrame(frame, scales_);
    const std::size_t first = static_cast<std::size_t>(frame.card) * kChannelsPerCard;
    std::copy(scaled.begin(), scaled.end(), frame.scaled.begin());
    std::copy(scaled.begin(), scaled.end(), latest_.begin() + static_cast<std::ptrdiff_t>(first));
    if (settings_.channels.empty()) {
        frame.derived = {};
        return;
    }
    // Renamed in the Configure window: an expression may use the new name now.
    if (!std::equal(names_.begin(), names_.end(), state.ChannelName.begin())) {
        compile(state);
    }
    derived_ = program_.evaluate(latest_);
    frame.derived = derived_;
}

}  // namespace vantrel::derived
