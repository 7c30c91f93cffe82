#include "settings/SettingsFiles.h"

#include <algorithm>

#include "settings/AppPaths.h"
#include "settings/AtomicFile.h"
#include "settings/SettingsFiles.h"
#include "settings/TextStyles.h"

namespace vantrel {

namespace {

bool IsOutput(std::int16_t direction) {
    return direction != kLineInput;
}

// Reads a file's fields in order; after the first field that is missing or does not
// read as its type nothing more is read, and that field is named.
class FieldSequence {
  public:
    explicit FieldSequence(FieldReader& reader) : reader_(reader) {}

    template <typename T>
    void read(std::optional<T> (FieldReader::*readAs)(), T& into, const char* what, int slot = -1) {
        if (stop_) {
            return;
        }
        const std::optional<T> value = (reader_.*readAs)();
        if (!value) {
            stop_ = "line " + std::to_string(reader_.line()) + ", " + what +
                    (slot >= 0 ? " " + std::to_string(slot) : "");
            return;
        }
        into = *value;
    }

    void readDirection(std::int16_t& into, int line) {
        bool output = IsOutput(into);
        read(&FieldReader::readBoolean, output, "the direction of digital line", line);
        into = output ? kLineOutput : kLineInput;
    }

    std::optional<std::string> stop() const { return stop_; }

  private:
    FieldReader& reader_;
    std::optional<std::string> stop_;
};

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

std::optional<std::string> ReadPortSettings(FieldReader& reader, AcquisitionState& state) {
    FieldSequence fields(reader);
    fields.read(&FieldReader::readInteger, state.ComPort1, "the port of card 1");
    fields.read(&FieldReader::readInteger, state.ComPort2, "the port of card 2");
    return fields.stop();
}

std::optional<std::string> ReadChannelSettings(FieldReader& reader, AcquisitionState& state) {
    FieldSequence fields(reader);
    for (int line = 0; line < kUsedLines; ++line) {
        fields.readDirection(state.DigitalDirection[line], line);
    }
    for (int s = 0; s < kUsedChannels; ++s) {
        fields.read(&FieldReader::readInteger, state.InputType[s], "the input type of channel", s);
        fields.read(&FieldReader::readDouble, state.InputRange[s], "the input range of channel", s);
        fields.read(&FieldReader::readInteger, state.CalZero10V[s], "the 10 V zero of channel", s);
        fields.read(&FieldReader::readInteger, state.CalZero200mV[s], "the 200 mV zero of channel",
                    s);
        fields.read(&FieldReader::readInteger, state.CalSpan10V[s], "the 10 V span of channel", s);
        fields.read(&FieldReader::readInteger, state.CalSpan200mV[s], "the 200 mV span of channel",
                    s);
        fields.read(&FieldReader::readInteger, state.CalRTD[s], "the RTD reference of channel", s);
        fields.read(&FieldReader::readBoolean, state.PlotChannel[s], "the plot mark of channel", s);
        fields.read(&FieldReader::readBoolean, state.SaveChannel[s], "the save mark of channel", s);
    }
    return fields.stop();
}

std::optional<std::string> ReadLogSettings(FieldReader& reader, AcquisitionState& state) {
    FieldSequence fields(reader);
    fields.read(&FieldReader::readString, state.LogFileName, "the log file name");
    fields.read(&FieldReader::readBoolean, state.LogHeaders, "the log header choice");
    fields.read(&FieldReader::readInteger, state.LogDelimiter, "the log delimiter");
    fields.read(&FieldReader::readInteger, state.LogIntervalUnit, "the log interval unit");
    fields.read(&FieldReader::readInteger, state.LogIntervalChoice, "the log interval");
    fields.read(&FieldReader::readInteger, state.LogStampStyle, "the log time stamp style");
    for (int s = 0; s < kUsedChannels; ++s) {
        fields.read(&FieldReader::readString, state.ChannelName[s], "the name of channel", s);
    }
    return fields.stop();
}

namespace {

std::optional<std::string> SaveSettingsFile(const AcquisitionState& state, const char* fileName,
                                            const std::string& text) {
    if (std::ranges::find(state.HeldSettingsFiles, fileName) != state.HeldSettingsFiles.end()) {
        return std::string(fileName) +
               " is left as it is: it could not be read at start-up nor kept as a .bad copy, so "
               "the settings changed since start-up are not saved to it";
    }
    return WriteFileAtomically(AppFilePath(state, fileName), text);
}

}  // namespace

std::optional<std::string> SaveChannelSettings(const AcquisitionState& state) {
    return SaveSettingsFile(state, kChannelSettingsFile, ChannelSettingsText(state));
}

std::optional<std::string> SaveLogSettings(const AcquisitionState& state) {
    return SaveSettingsFile(state, kLogSettingsFile, LogSettingsText(state));
}

std::optional<std::string> SavePortSettings(const AcquisitionState& state) {
    return SaveSettingsFile(state, kPortsFile, PortSettingsText(state));
}

}  // namespace vantrel
