// Any vantrel.ini: its lines as sections and keys ("[name]" opens a section, keys
// before the first one are the "" section, as QSettings hands them over), and its
// bytes scanned for values that the quoting cuts or runs on. Every key is read or
// replaced by its default, every problem is one line of the message with its
// control characters escaped, the result passes the settings window's own check
// and reads back unchanged from the texts it writes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "alarms/RuleFields.h"
#include "app/Preferences.h"
#include "settings/IniQuoting.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream lines(text);
    vantrel::ini::FileTexts file;
    std::string section;
    std::size_t names = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with('[')) {
            section = line.substr(1, line.find(']') - 1);
            file[section];
        } else if (const auto equals = line.find('='); equals != std::string::npos) {
            file[section][line.substr(0, equals)] = line.substr(equals + 1);
        }
    }
    for (const auto& [name, keys] : file) {
        names += 1 + keys.size();
    }
    std::vector<vantrel::ini::Problem> problems;
    const vantrel::Preferences read = vantrel::ReadPreferences(file, "fuzz-host", problems);
    // With every line an output, only the window's own limits remain.
    if (problems.size() > names || vantrel::publish::MqttSettingsProblem(read.mqtt) ||
        vantrel::alarms::AlarmSettingsProblem(read.alarms, ~std::uint32_t{0})) {
        std::abort();
    }
    const std::vector<vantrel::ini::Problem> quoting = vantrel::ini::QuotingProblems(text);
    if (quoting.size() >
        2 * static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n') +
                                     std::count(text.begin(), text.end(), '\r') + 1)) {
        std::abort();
    }
    problems.insert(problems.end(), quoting.begin(), quoting.end());
    const std::string message = vantrel::ini::ProblemsMessage(problems);
    const bool controls = std::any_of(message.begin(), message.end(), [](char c) {
        return (static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F;
    });
    if (controls || static_cast<std::size_t>(std::count(message.begin(), message.end(), '\n')) !=
                        problems.size()) {
        std::abort();
    }
    std::vector<vantrel::ini::Problem> again;
    if (!(vantrel::ReadPreferences(vantrel::PreferencesTexts(read), "other", again) == read) ||
        !again.empty()) {
        std::abort();
    }
    return 0;
}
