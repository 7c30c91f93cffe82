#include "logging/LogRecord.h"

#include <cstdio>

#include "logging/ValueText.h"
#include "platform/DateTimeText.h"

namespace vantrel {

namespace {

std::string TwoDigits(int a, char separator1, int b, char separator2, int c) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%02d%c%02d%c%02d", a, separator1, b, separator2, c);
    return buffer;
}

template <typename ColumnText>
std::string JoinMarkedChannels(const AcquisitionState& state, ColumnText columnText) {
    const std::string_view separator = SeparatorText(state.LogDelimiter);
    std::string joined;
    bool first = true;
    for (int n = 0; n < kUsedChannels; ++n) {
        if (!state.SaveChannel[n]) {
            continue;
        }
        if (!first) {
            joined += separator;
        }
        joined += columnText(n);
        first = false;
    }
    return joined;
}

// A name holding the separator or a comma would split into two columns in a
// spreadsheet; quoting keeps it one, as delimited files usually do. Names never
// hold a double quote themselves (the save options refuse it).
std::string HeaderColumn(const std::string& name, std::string_view separator) {
    if (name.find(separator) == std::string::npos && name.find(',') == std::string::npos) {
        return name;
    }
    return '"' + name + '"';
}

}  // namespace

std::string_view SeparatorText(int delimiter) {
    switch (delimiter) {
        case 1:
            return ",";
        case 2:
            return "    ";
        default:
            return " ";
    }
}

std::string_view StampColumnNames(int stampStyle) {
    switch (stampStyle) {
        case 1:
            return "SN,";
        case 2:
            return "DATE,TIME,";
        case 3:
            return "TIME,";
        case kIsoStampStyle:
            return "TIMESTAMP,";
        default:
            return "";
    }
}

bool AnyChannelMarked(const AcquisitionState& state) {
    for (int n = 0; n < kUsedChannels; ++n) {
        if (state.SaveChannel[n]) {
            return true;
        }
    }
    return false;
}

std::string DateText(const platform::DateTime& when) {
    // Negative years do not occur on a real clock; the modulo keeps two digits anyway.
    const int year = ((when.year % 100) + 100) % 100;
    return TwoDigits(when.day, '/', when.month, '/', year);
}

std::string TimeText(const platform::DateTime& when) {
    return TwoDigits(when.hour, ':', when.minute, ':', when.second);
}

std::string HeaderLine(const AcquisitionState& state) {
    std::string line(StampColumnNames(state.LogStampStyle));
    const std::string_view separator = SeparatorText(state.LogDelimiter);
    line += JoinMarkedChannels(
        state, [&](int n) { return HeaderColumn(state.ChannelName[n], separator); });
    return line;
}

std::string RecordStamp(int stampStyle, const platform::DateTime& when, std::int32_t sampleNo) {
    switch (stampStyle) {
        case 1:
            return std::to_string(sampleNo) + ",";
        case 2:
            return DateText(when) + "," + TimeText(when) + ",";
        case 3:
            return TimeText(when) + ",";
        case kIsoStampStyle:
            return platform::IsoLocalText(when) + ",";
        default:
            return {};
    }
}

std::string RecordValues(const AcquisitionState& state, const LatestValues& values) {
    return JoinMarkedChannels(state, [&](int n) { return ValueText(values[n]); });
}

}  // namespace vantrel
