#include "engine/SettingsFiles.h"

#include "engine/AppPaths.h"
#include "engine/AtomicFile.h"
#include "engine/ModMain.h"
#include "engine/TextStyles.h"

namespace vantrel {

namespace {

bool IsOutput(std::int16_t direction) {
    return direction != kLineInput;
}

template <typename T>
bool Read(std::optional<T> field, T& into) {
    if (!field) {
        return false;
    }
    into = *field;
    return true;
}

bool ReadFlag(FieldReader& reader, std::int16_t& into) {
    const auto flag = reader.readBoolean();
    if (!flag) {
        return false;
    }
    into = *flag ? kLineOutput : kLineInput;
    return true;
}

}  // namespace

std::string PortSettingsText(const AcquisitionState& state) {
    TextFileBuilder file;
    file.line(PrintStyleNumber(std::int64_t{state.ComPort1}));
    file.line(PrintStyleNumber(std::int64_t{state.ComPort2}));
    return file.contents();
}

std::string ChannelSettingsText(const AcquisitionState& state) {
    TextFileBuilder file;
    for (int line = 0; line < kUsedLines; ++line) {
        file.line(WriteStyleBoolean(IsOutput(state.DigitalDirection[line])));
    }
    for (int s = 0; s < kUsedChannels; ++s) {
        file.line(WriteStyleInteger(state.InputType[s]));
        file.line(WriteStyleDouble(state.InputRange[s]));
        file.line(WriteStyleInteger(state.CalZero10V[s]));
        file.line(WriteStyleInteger(state.CalZero200mV[s]));
        file.line(WriteStyleInteger(state.CalSpan10V[s]));
        file.line(WriteStyleInteger(state.CalSpan200mV[s]));
        file.line(WriteStyleInteger(state.CalRTD[s]));
        file.line(WriteStyleBoolean(state.PlotChannel[s]));
        file.line(WriteStyleBoolean(state.SaveChannel[s]));
    }
    return file.contents();
}

std::string LogSettingsText(const AcquisitionState& state) {
    TextFileBuilder file;
    file.line(WriteStyleString(state.LogFileName));
    file.line(WriteStyleBoolean(state.LogHeaders));
    file.line(WriteStyleInteger(state.LogDelimiter));
    file.line(WriteStyleInteger(state.LogIntervalUnit));
    file.line(WriteStyleInteger(state.LogIntervalChoice));
    file.line(WriteStyleInteger(state.LogStampStyle));
    for (int s = 0; s < kUsedChannels; ++s) {
        file.line(WriteStyleString(state.ChannelName[s]));
    }
    return file.contents();
}

bool ReadPortSettings(FieldReader& reader, AcquisitionState& state) {
    return Read(reader.readInteger(), state.ComPort1) && Read(reader.readInteger(), state.ComPort2);
}

bool ReadChannelSettings(FieldReader& reader, AcquisitionState& state) {
    for (int line = 0; line < kUsedLines; ++line) {
        if (!ReadFlag(reader, state.DigitalDirection[line])) {
            return false;
        }
    }
    for (int s = 0; s < kUsedChannels; ++s) {
        const bool complete = Read(reader.readInteger(), state.InputType[s]) &&
                              Read(reader.readDouble(), state.InputRange[s]) &&
                              Read(reader.readInteger(), state.CalZero10V[s]) &&
                              Read(reader.readInteger(), state.CalZero200mV[s]) &&
                              Read(reader.readInteger(), state.CalSpan10V[s]) &&
                              Read(reader.readInteger(), state.CalSpan200mV[s]) &&
                              Read(reader.readInteger(), state.CalRTD[s]) &&
                              Read(reader.readBoolean(), state.PlotChannel[s]) &&
                              Read(reader.readBoolean(), state.SaveChannel[s]);
        if (!complete) {
            return false;
        }
    }
    return true;
}

bool ReadLogSettings(FieldReader& reader, AcquisitionState& state) {
    if (!(Read(reader.readString(), state.LogFileName) &&
          Read(reader.readBoolean(), state.LogHeaders) &&
          Read(reader.readInteger(), state.LogDelimiter) &&
          Read(reader.readInteger(), state.LogIntervalUnit) &&
          Read(reader.readInteger(), state.LogIntervalChoice) &&
          Read(reader.readInteger(), state.LogStampStyle))) {
        return false;
    }
    for (int s = 0; s < kUsedChannels; ++s) {
        if (!Read(reader.readString(), state.ChannelName[s])) {
            return false;
        }
    }
    return true;
}

namespace modMain {

std::optional<std::string> SaveChannelSettings(const AcquisitionState& state) {
    return WriteFileAtomically(AppFilePath(state, kChannelSettingsFile),
                               ChannelSettingsText(state));
}

std::optional<std::string> SaveLogSettings(const AcquisitionState& state) {
    return WriteFileAtomically(AppFilePath(state, kLogSettingsFile), LogSettingsText(state));
}

std::optional<std::string> SavePortSettings(const AcquisitionState& state) {
    return WriteFileAtomically(AppFilePath(state, kPortsFile), PortSettingsText(state));
}

}  // namespace modMain
}  // namespace vantrel
