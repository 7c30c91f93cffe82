#include "logging/LogRecord.h"

#include <algorithm>

#include "logging/ValueText.h"

namespace vantrel {

namespace {

constexpr const char* kFigureSuffixes[] = {" (min)", " (max)", " (mean)"};

template <typename ColumnText>
std::string JoinMarkedChannels(const AcquisitionState& state, ColumnText columnText) {
    const std::string_view separator = SeparatorText(LogSeparatorOf(state));
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

Delimiter DelimiterChosen(LogSeparator separator) {
    switch (separator) {
        case LogSeparator::Comma:
            return Delimiter::Comma;
        case LogSeparator::Semicolon:
            return Delimiter::Semicolon;
        case LogSeparator::Tab:
            return Delimiter::Tab;
        case LogSeparator::Space:
            return Delimiter::Space;
        case LogSeparator::FourSpaces:
            return Delimiter::FourSpaces;
        case LogSeparator::SaveOptions:
            break;
    }
    return Delimiter{};
}

std::string FigureText(std::optional<float> value, bool decimalComma) {
    if (!value) {
        return {};
    }
    std::string text = ValueText(*value);
    if (decimalComma) {
        std::replace(text.begin(), text.end(), '.', ',');
    }
    return text;
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

void SetRecordLayout(AcquisitionState& state, const LoggingPreferences& preferences) {
    state.LogStatistics = static_cast<std::int16_t>(preferences.statistics);
    state.LogDecimalComma = preferences.decimal == LogDecimal::Comma;
    state.LogSeparatorOverride = CodeOf(DelimiterChosen(preferences.separator));
}

Delimiter LogSeparatorOf(const AcquisitionState& state) {
    const int chosen = state.LogSeparatorOverride;
    if (chosen >= CodeOf(Delimiter::Comma) && chosen <= CodeOf(Delimiter::Tab)) {
        return static_cast<Delimiter>(chosen);
    }
    return DelimiterOf(state.LogDelimiter);
}

LogStatistics LogStatisticsOf(const AcquisitionState& state) {
    return state.LogStatistics == static_cast<int>(LogStatistics::Mean) ? LogStatistics::Mean
           : state.LogStatistics == static_cast<int>(LogStatistics::MinMaxMean)
               ? LogStatistics::MinMaxMean
               : LogStatistics::Last;
}

std::string HeaderLine(const AcquisitionState& state) {
    std::string line(StampColumnNames(StampStyleOf(state.LogStampStyle)));
    const Delimiter delimiter = LogSeparatorOf(state);
    const bool threeColumns = LogStatisticsOf(state) == LogStatistics::MinMaxMean;
    line += JoinMarkedChannels(state, [&](int n) {
        const std::string& name = state.ChannelName[n];
        if (!threeColumns) {
            return HeaderColumn(name, delimiter);
        }
        std::string columns;
        for (const char* suffix : kFigureSuffixes) {
            if (!columns.empty()) {
                columns += SeparatorText(delimiter);
            }
            columns += HeaderColumn(name + suffix, delimiter);
        }
        return columns;
    });
    return line;
}

std::string RecordValues(const AcquisitionState& state, const LatestValues& values,
                         const IntervalFigures& figures) {
    const bool comma = state.LogDecimalComma;
    const std::string_view separator = SeparatorText(LogSeparatorOf(state));
    switch (LogStatisticsOf(state)) {
        case LogStatistics::Mean:
            return JoinMarkedChannels(state, [&](int n) {
                return FigureText(figures[static_cast<std::size_t>(n)].mean(), comma);
            });
        case LogStatistics::MinMaxMean:
            return JoinMarkedChannels(state, [&](int n) {
                const ChannelFigures& f = figures[static_cast<std::size_t>(n)];
                const bool any = f.count > 0;
                return FigureText(any ? std::optional(f.min) : std::nullopt, comma) +
                       std::string(separator) +
                       FigureText(any ? std::optional(f.max) : std::nullopt, comma) +
                       std::string(separator) + FigureText(f.mean(), comma);
            });
        case LogStatistics::Last:
            break;
    }
    return JoinMarkedChannels(state, [&](int n) { return FigureText(values[n], comma); });
}

}  // namespace vantrel
