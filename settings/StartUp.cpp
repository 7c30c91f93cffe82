#include "settings/StartUp.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "settings/AppPaths.h"
#include "settings/DamagedCopy.h"
#include "settings/FieldReader.h"
#include "settings/SettingsFiles.h"
#include "settings/TableFiles.h"

namespace vantrel {

namespace {

// The settings files are a few kilobytes; a larger one is treated like a
// damaged one instead of being read into memory.
constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

enum class SettingsFileState { Read, Missing, Damaged };

struct SettingsFileLoad {
    SettingsFileState state = SettingsFileState::Read;
    std::string damage;  // for the user: what is wrong with a damaged file
};

using SettingsReader = std::optional<std::string> (*)(FieldReader&, AcquisitionState&);

// Reads one settings file straight into the state: the fields before a bad one keep
// what the file says, the rest keep their defaults. An oversized file is read up to
// the limit, like a file damaged there.
SettingsFileLoad LoadSettingsFile(AcquisitionState& state, const char* fileName,
                                  SettingsReader read) {
    const std::string path = AppFilePath(state, fileName);
    std::error_code ignored;
    if (!std::filesystem::exists(path, ignored)) {
        return {SettingsFileState::Missing, {}};
    }
    std::string why;
    bool truncated = false;
    auto reader = FieldReader::fromFile(path, kMaxSettingsBytes, &why, &truncated);
    if (!reader) {
        return {SettingsFileState::Damaged, std::string(fileName) + " could not be read (" + why +
                                                "); its settings are back to their defaults."};
    }
    const auto stop = read(*reader, state);
    if (!stop && !truncated) {
        return {};
    }
    std::string damage = std::string(fileName) + " is damaged: ";
    if (truncated) {
        damage += "it is larger than " + std::to_string(kMaxSettingsBytes) + " bytes, ";
        damage += stop ? "and reading stopped at " + *stop : "and only that much was read";
    } else {
        damage += "reading stopped at " + *stop;
    }
    return {SettingsFileState::Damaged,
            damage + ". The settings before it were kept, the rest are back to their defaults."};
}

// An older damaged copy may be the only one of the user's settings: KeepDamagedCopy
// never replaces one. True when the copy was made; the note for the user says
// where, or why not.
bool KeepSettingsCopy(const AcquisitionState& state, const char* fileName,
                      const std::string& damage, std::vector<std::string>& notes) {
    const DamagedCopy copy = KeepDamagedCopy(AppFilePath(state, fileName));
    if (copy.error) {
        notes.push_back(damage + " Its contents could not be kept as " + copy.path + " (" +
                        copy.error.message() +
                        "), so it is left as it is, and the settings changed since start-up are "
                        "not saved to it.");
        return false;
    }
    notes.push_back(damage + " The damaged file was kept as " + copy.path + ".");
    return true;
}

std::string JoinedNotes(const std::vector<std::string>& notes) {
    std::string text;
    for (const std::string& note : notes) {
        text += (text.empty() ? "" : "\n\n") + note;
    }
    return text;
}

}  // namespace

StartUpResult RunStartUp(AcquisitionState& state, const std::string& appDir,
                         const std::string& installedTablesDir) {
    StartUpResult result;
    state = AcquisitionState(appDir);
    std::vector<std::string> tableFolders = {appDir};
    if (!installedTablesDir.empty()) {
        tableFolders.push_back(installedTablesDir);
    }
    const std::pair<const char*, Slots<double, kTableSize>*> tables[] = {
        {kTableJFile, &state.TableJ}, {kTableKFile, &state.TableK}};
    for (const auto& [name, table] : tables) {
        const int entries = table == &state.TableJ ? kTableJEntries : kTableKEntries;
        if (const auto error = LoadThermocoupleTable(tableFolders, name, entries, table->data())) {
            result.ok = false;
            result.error = *error;
            return result;
        }
    }

    struct SettingsFile {
        const char* name;
        SettingsReader read;
        // Rewritten now when missing or damaged; the others are written at exit.
        std::optional<std::string> (*rewrite)(const AcquisitionState&);
    };
    const SettingsFile files[] = {{kPortsFile, ReadPortSettings, SavePortSettings},
                                  {kChannelSettingsFile, ReadChannelSettings, SaveChannelSettings},
                                  {kLogSettingsFile, ReadLogSettings, nullptr}};
    std::vector<std::string> notes;
    for (const SettingsFile& file : files) {
        const SettingsFileLoad load = LoadSettingsFile(state, file.name, file.read);
        if (load.state == SettingsFileState::Read) {
            continue;
        }
        if (load.state == SettingsFileState::Damaged &&
            !KeepSettingsCopy(state, file.name, load.damage, notes)) {
            state.HeldSettingsFiles.emplace_back(file.name);
            continue;
        }
        if (file.rewrite != nullptr) {
            if (const auto failure = file.rewrite(state)) {
                notes.push_back("The settings could not be saved: " + *failure + ".");
            }
        }
    }
    result.warning = JoinedNotes(notes);
    return result;
}

}  // namespace vantrel
