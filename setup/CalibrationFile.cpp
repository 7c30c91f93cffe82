#include "setup/CalibrationFile.h"

#include "settings/TextStyles.h"

namespace vantrel {

namespace {

constexpr int kValuesPerChannel = 5;
constexpr int kValueCount = kValuesPerChannel * kChannelsPerCard;

// The order of a channel's five lines in the file.
constexpr std::array<std::int16_t ChannelCalibration::*, kValuesPerChannel> kFileOrder = {
    &ChannelCalibration::zero10V, &ChannelCalibration::zero200mV, &ChannelCalibration::span10V,
    &ChannelCalibration::span200mV, &ChannelCalibration::rtd};

// A calibration that the conversion would divide by zero with, on every frame.
std::optional<std::string> UnusableChannel(const CalibrationTable& table) {
    for (int g = 0; g < kChannelsPerCard; ++g) {
        const ChannelCalibration& channel = table[g];
        const char* fault = nullptr;
        if (channel.zero10V == channel.span10V) {
            fault = "its 10 V zero equals its 10 V span";
        } else if (channel.zero200mV == channel.span200mV) {
            fault = "its 200 mV zero equals its 200 mV span";
        } else if (channel.rtd == 0) {
            fault = "its RTD reference is 0";
        }
        if (fault != nullptr) {
            return "Channel " + std::to_string(g) +
                   " of the calibration file cannot be used: " + fault + ".";
        }
    }
    return std::nullopt;
}

}  // namespace

CalibrationTable CalibrationOfFirstCard(const AcquisitionState& state) {
    CalibrationTable table;
    for (int g = 0; g < kChannelsPerCard; ++g) {
        table[g] = ChannelCalibration{state.CalZero10V[g], state.CalZero200mV[g],
                                      state.CalSpan10V[g], state.CalSpan200mV[g], state.CalRTD[g]};
    }
    return table;
}

void StoreCalibrationOfFirstCard(AcquisitionState& state, const CalibrationTable& table) {
    for (int g = 0; g < kChannelsPerCard; ++g) {
        state.CalZero10V[g] = table[g].zero10V;
        state.CalZero200mV[g] = table[g].zero200mV;
        state.CalSpan10V[g] = table[g].span10V;
        state.CalSpan200mV[g] = table[g].span200mV;
        state.CalRTD[g] = table[g].rtd;
    }
}

std::string FormatCalibrationFile(const CalibrationTable& table) {
    TextFileBuilder file;
    file.line(WriteStyleString(kCalibrationHeader));
    for (const ChannelCalibration& channel : table) {
        for (auto value : kFileOrder) {
            file.line(WriteStyleInteger(channel.*value));
        }
    }
    return file.contents();
}

CalibrationFileParse ParseCalibrationFile(FieldReader reader) {
    CalibrationFileParse result;
    const auto header = reader.readString();
    if (!header || *header != kCalibrationHeader) {
        result.outcome = CalibrationFileParse::Outcome::WrongHeader;
        return result;
    }
    CalibrationTable table{};
    int lastLine = reader.line();
    for (int i = 0; i < kValueCount; ++i) {
        if (reader.atEnd()) {
            result.error = "The calibration file ends after line " + std::to_string(lastLine) +
                           ", with " + std::to_string(i) + " of its " +
                           std::to_string(kValueCount) + " values.";
            return result;
        }
        const auto value = reader.readInteger();
        lastLine = reader.line();
        if (!value) {
            result.error = "Line " + std::to_string(lastLine) +
                           " of the calibration file does not hold a whole number from "
                           "-32768 to 32767.";
            return result;
        }
        table[i / kValuesPerChannel].*kFileOrder[i % kValuesPerChannel] = *value;
    }
    if (auto unusable = UnusableChannel(table)) {
        result.error = std::move(*unusable);
        return result;
    }
    result.outcome = CalibrationFileParse::Outcome::Read;
    result.table = table;
    return result;
}

}  // namespace vantrel
