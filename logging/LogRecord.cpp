#include "logging/LogRecord.h"

#include "logging/ValueText.h"

namespace vantrel {

namespace {

template <typename ColumnText>
std::string JoinMarkedChannels(const AcquisitionState& state, ColumnText columnText) {
    const std::string_view separator = SeparatorText(DelimiterOf(state.LogDelimiter));
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

}  // namespace

bool AnyChannelMarked(const AcquisitionState& state) {
    for (int n = 0; n < kUsedChannels; ++n) {
        if (state.SaveChannel[n]) {
            return true;
        }
    }
    return false;
}

std::string HeaderLine(const AcquisitionState& state) {
    std::string line(StampColumnNames(StampStyleOf(state.LogStampStyle)));
    const Delimiter delimiter = DelimiterOf(state.LogDelimiter);
    line += JoinMarkedChannels(
        state, [&](int n) { return HeaderColumn(state.ChannelName[n], delimiter); });
    return line;
}

std::string RecordValues(const AcquisitionState& state, const LatestValues& values) {
    return JoinMarkedChannels(state, [&](int n) { return ValueText(values[n]); });
}

}  // namespace vantrel
