#include "engine/StartUp.h"

#include "engine/AppPaths.h"
#include "engine/FieldReader.h"
#include "engine/ModMain.h"
#include "engine/SettingsFiles.h"
#include "engine/TableFiles.h"

namespace vantrel {

namespace {

// The settings files are a few kilobytes; a larger one is treated like a
// damaged one instead of being read into memory.
constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

void SetDefaults(AcquisitionState& state) {
    state.ComPort1 = 1;
    state.ComPort2 = 2;
    state.CardConnected1 = false;
    state.CardConnected2 = false;
    state.PortOpen1 = false;
    state.PortOpen2 = false;
    state.TaskRunning1 = false;
    state.Saving = false;
    state.AnalogFrame1 = kDefaultAnalogFrame1;
    for (int line = 0; line < kUsedLines; ++line) {
        state.DigitalDirection[line] = kLineInput;
        state.DigitalIn[line] = false;
        state.DigitalOut[line] = false;
        state.DigitalOutCmd[line] = false;
    }
    for (int s = 0; s < kUsedChannels; ++s) {
        state.InputType[s] = 0;
        state.InputRange[s] = 10.0;
        state.CalSpan10V[s] = 32000;
        state.CalSpan200mV[s] = 32000;
        state.CalZero10V[s] = 0;
        state.CalZero200mV[s] = 0;
        state.CalRTD[s] = 13000;
        state.PlotChannel[s] = false;
        state.SaveChannel[s] = false;
        state.ChannelName[s] = "Channel " + std::to_string(s);
    }
#ifdef _WIN32
    state.LogFileName = "D:\\test.csv";
#else
    // There is no drive D: here; the log goes beside the settings instead.
    state.LogFileName = AppFilePath(state, "test.csv");
#endif
    state.LogHeaders = true;
    state.LogDelimiter = 1;
    state.LogIntervalUnit = 1;
    state.LogIntervalChoice = 5;
    state.LogStampStyle = 3;
}

// Reads one settings file into the state, all of it or nothing: a file that is
// short, damaged or too large counts as missing.
bool LoadSettingsFile(AcquisitionState& state, const char* fileName,
                      bool (*read)(FieldReader&, AcquisitionState&)) {
    auto reader = FieldReader::fromFile(AppFilePath(state, fileName), kMaxSettingsBytes);
    if (!reader) {
        return false;
    }
    AcquisitionState updated = state;
    if (!read(*reader, updated)) {
        return false;
    }
    state = std::move(updated);
    return true;
}

std::string Recover(AcquisitionState& state) {
    state.ComPort1 = 1;
    state.ComPort2 = 2;
    std::string problems;
    if (const auto error = modMain::SavePortSettings(state)) {
        problems = *error;
    }
    if (const auto error = modMain::SaveChannelSettings(state)) {
        problems += (problems.empty() ? "" : "; ") + *error;
    }
    return problems;
}

}  // namespace

StartUpResult RunStartUp(AcquisitionState& state, const std::string& appDir) {
    StartUpResult result;
    state.AppDir = appDir;
    SetDefaults(state);
    const std::pair<const char*, Slots<double, kTableSize>*> tables[] = {
        {kTableJFile, &state.TableJ}, {kTableKFile, &state.TableK}};
    for (const auto& [name, table] : tables) {
        const int entries = table == &state.TableJ ? kTableJEntries : kTableKEntries;
        if (const auto error =
                LoadThermocoupleTable(AppFilePath(state, name), name, entries, table->data())) {
            result.ok = false;
            result.error = *error;
            return result;
        }
    }
    const bool loaded = LoadSettingsFile(state, kPortsFile, ReadPortSettings) &&
                        LoadSettingsFile(state, kChannelSettingsFile, ReadChannelSettings) &&
                        LoadSettingsFile(state, kLogSettingsFile, ReadLogSettings);
    if (!loaded) {
        result.warning = Recover(state);
    }
    return result;
}

}  // namespace vantrel
