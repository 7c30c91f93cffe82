// Any texts found in vantrel.ini's keys (QSettings hands them over as "key=value"
// lines of a section): every key is read or replaced by its default, with one
// problem noted per replacement, and the result always passes the settings
// window's own check and reads back unchanged from the texts it writes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "app/Preferences.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream lines(std::string(reinterpret_cast<const char*>(data), size));
    vantrel::ini::FileTexts file;
    for (std::string line; std::getline(lines, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos) {
            file["mqtt"][line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    std::vector<vantrel::ini::Problem> problems;
    const vantrel::Preferences read = vantrel::ReadPreferences(file, "fuzz-host", problems);
    if (problems.size() > file["mqtt"].size() || vantrel::publish::MqttSettingsProblem(read.mqtt)) {
        std::abort();
    }
    std::vector<vantrel::ini::Problem> again;
    if (!(vantrel::ReadPreferences(vantrel::PreferencesTexts(read), "other", again) == read) ||
        !again.empty()) {
        std::abort();
    }
    return 0;
}
