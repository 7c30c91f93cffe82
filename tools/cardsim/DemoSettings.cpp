#include "DemoSettings.h"

#include <filesystem>
#include <system_error>

#include "engine/AcquisitionState.h"
#include "engine/InputTypes.h"
#include "settings/AppPaths.h"
#include "settings/SettingsFiles.h"

namespace cardsim {

namespace {

using namespace vantrel;

struct DemoChannel {
    int type;
    double range;
    bool plot;
    bool save;
    const char* name;  // nullptr: the default name
};

// Channel slots 0..15; card 2's channel c is slot c + 8.
constexpr DemoChannel kChannels[kUsedChannels] = {
    {input_type::kVoltage10V, 10, true, true, "Sine"},
    {input_type::kVoltage10V, 10, true, true, "Ramp"},
    {input_type::kRtd, 10, true, true, "PT-100"},
    {input_type::kThermocoupleJ, 10, true, true, "T/C J"},
    {input_type::kCurrent4To20mA, 100, false, true, "Loop"},
    {input_type::kMillivolt200, 200, false, false, "mV"},
    {input_type::kVoltage10V, 10, false, false, nullptr},
    {input_type::kVoltage10V, 10, false, false, nullptr},
    {input_type::kCurrent20mA, 20, false, true, "Current"},
    {input_type::kVoltage10V, 10, true, true, "Wave"},
    {input_type::kThermocoupleK, 10, false, true, "T/C K"},
    {input_type::kVoltage10V, 10, false, false, nullptr},
    {input_type::kVoltage10V, 10, false, false, nullptr},
    {input_type::kVoltage10V, 10, false, false, nullptr},
    {input_type::kVoltage10V, 10, false, false, nullptr},
    {input_type::kVoltage10V, 10, false, false, nullptr},
};

AcquisitionState DemoState(const std::string& dir) {
    AcquisitionState state(dir);
    for (int s = 0; s < kUsedChannels; ++s) {
        const DemoChannel& channel = kChannels[s];
        state.InputType[s] = static_cast<std::int16_t>(channel.type);
        state.InputRange[s] = channel.range;
        state.PlotChannel[s] = channel.plot;
        state.SaveChannel[s] = channel.save;
        if (channel.name != nullptr) {
            state.ChannelName[s] = channel.name;
        }
    }
    state.LogFileName = FolderFilePath(dir, "demo-log.csv");
    state.LogIntervalChoice = 1;  // with the default unit: every second
    return state;
}

}  // namespace

std::optional<std::string> WriteDemoSettings(const std::string& dir) {
    const AcquisitionState state = DemoState(dir);
    using Writer = std::optional<std::string> (*)(const AcquisitionState&);
    const std::pair<const char*, Writer> files[] = {{kPortsFile, SavePortSettings},
                                                    {kChannelSettingsFile, SaveChannelSettings},
                                                    {kLogSettingsFile, SaveLogSettings}};
    for (const auto& [name, write] : files) {
        std::error_code error;
        if (std::filesystem::exists(NativePath(AppFilePath(state, name)), error)) {
            continue;
        }
        if (auto failure = write(state)) {
            return failure;
        }
    }
    return std::nullopt;
}

}  // namespace cardsim
