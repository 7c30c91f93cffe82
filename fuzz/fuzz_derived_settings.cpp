// Any [derived] part of vantrel.ini: its lines as keys ("[name]" opens a
// section), read into derived channels and compiled against channel names, the
// first lines of the input beyond the section. No more than 16 channels, every
// problem one line, what is written reads back the same with no problem, every
// error names a channel that exists and a place inside its expression, and every
// value computed from the input's numbers is finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "derived/DerivedProgram.h"
#include "derived/DerivedSettings.h"
#include "engine/AcquisitionState.h"

namespace {

using namespace vantrel;

ini::FileTexts FileOf(const std::string& text, Slots<std::string, kChannelArraySize>& names) {
    std::istringstream lines(text);
    ini::FileTexts file;
    std::string section;
    std::size_t named = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with('[')) {
            section = line.substr(1, line.find(']') - 1);
        } else if (const auto equals = line.find('=');
                   !section.empty() && equals != std::string::npos) {
            file[section][line.substr(0, equals)] = line.substr(equals + 1);
        } else if (section.empty() && named < kUsedChannels) {
            names[named++] = line;
        }
    }
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Slots<std::string, kChannelArraySize> names = DefaultChannelNames();
    std::vector<ini::Problem> problems;
    const derived::DerivedSettings settings =
        derived::ReadDerivedSettings(FileOf(text, names), problems);
    if (settings.channels.size() > derived::kMaxDerivedChannels) {
        std::abort();
    }
    for (const ini::Problem& problem : problems) {
        if (ini::ProblemText(problem).find('\n') != std::string::npos) {
            std::abort();
        }
    }
    std::vector<ini::Problem> again;
    if (derived::ReadDerivedSettings({{"derived", derived::DerivedSettingsTexts(settings)}},
                                     again) != settings ||
        !again.empty()) {
        std::abort();
    }

    const derived::DerivedProgram program =
        derived::DerivedProgram::Compile(settings, {names.data(), kUsedChannels});
    for (const derived::CompileError& error : program.errors()) {
        if (error.channel >= settings.channels.size() ||
            (error.position &&
             *error.position > settings.channels[error.channel].expression.size()) ||
            derived::CompileErrorText(settings, error).empty()) {
            std::abort();
        }
    }
    if (program.order().size() + program.errors().size() != settings.channels.size()) {
        std::abort();
    }
    derived::ChannelValues values{};
    for (std::size_t slot = 0; slot < values.size() && slot < size; ++slot) {
        if (data[slot] != 0) {
            values[slot] = static_cast<double>(static_cast<std::int8_t>(data[slot])) / 4.0;
        }
    }
    for (const auto& value : program.evaluate(values)) {
        if (value && !std::isfinite(*value)) {
            std::abort();
        }
    }
    return 0;
}
