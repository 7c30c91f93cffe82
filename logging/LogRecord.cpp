#include "logging/LogRecord.h"

#include <algorithm>

#include "engine/InputUnits.h"
#include "logging/ValueText.h"

namespace vantrel {

namespace {

constexpr const char* kFigureSuffixes[] = {" (min)", " (max)", " (mean)"};

// The marked channels' columns, then the logged derived channels', joined by the
// separator.
template <typename ChannelText, typename DerivedText>
std::string JoinColumns(const AcquisitionState& state, ChannelText channelText,
                        DerivedText derivedText) {
    const std::string_view separator = SeparatorText(LogSeparatorOf(state));
    std::string joined;
    bool first = true;
    const auto add = [&](const std::string& text) {
        if (!first) {
            joined += separator;
        }
        joined += text;
        first = false;
    };
    for (int n = 0; n < kUsedChannels; ++n) {
        if (state.SaveChannel[n]) {
            add(channelText(n));
        }
    }
    for (const LoggedDerived& logged : state.LogDerived) {
        if (logged.slot < kDerivedSlots) {
            add(derivedText(logged));
        }
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

std::optional<float> AsFloat(std::optional<double> value) {
    return value ? std::optional(static_cast<float>(*value)) : std::nullopt;
}

// A column's figures as the statistics choose: the last value, the mean, or the
// minimum, maximum and mean.
std::string FiguresText(const AcquisitionState& state, std::optional<float> last,
                        const ChannelFigures& figures) {
    const bool comma = state.LogDecimalComma;
    switch (LogStatisticsOf(state)) {
        case LogStatistics::Mean:
            return FigureText(figures.mean(), comma);
        case LogStatistics::MinMaxMean: {
            const std::string separator(SeparatorText(LogSeparatorOf(state)));
            const bool any = figures.count > 0;
            return FigureText(any ? AsFloat(figures.min) : std::nullopt, comma) + separator +
                   FigureText(any ? AsFloat(figures.max) : std::nullopt, comma) + separator +
                   FigureText(figures.mean(), comma);
        }
        case LogStatistics::Last:
            break;
    }
    return FigureText(last, comma);
}

// The unit a channel's values are logged in: its user scale's, or its input type's.
std::string_view LoggedUnit(const AcquisitionState& state, int n) {
    const std::optional<std::string>& scaled = state.LogScaleUnit[static_cast<std::size_t>(n)];
    return scaled ? std::string_view(*scaled) : InputUnit(state.InputType[n]);
}

// A column's header names: one, or three with minimum, maximum and mean; each with
// the unit after it when the header names units and there is one.
std::string HeaderColumns(const AcquisitionState& state, const std::string& name,
                          std::string_view unit) {
    const Delimiter delimiter = LogSeparatorOf(state);
    const std::string unitText =
        state.LogHeaderUnits && !unit.empty() ? " [" + std::string(unit) + "]" : std::string();
    if (LogStatisticsOf(state) != LogStatistics::MinMaxMean) {
        return HeaderColumn(name + unitText, delimiter);
    }
    std::string columns;
    for (const char* suffix : kFigureSuffixes) {
        if (!columns.empty()) {
            columns += SeparatorText(delimiter);
        }
        columns += HeaderColumn(name + suffix + unitText, delimiter);
    }
    return columns;
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
    state.LogHeaderUnits = preferences.headerUnits;
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

void SetLogScaleUnits(AcquisitionState& state, const ChannelScales& scales) {
    for (std::size_t n = 0; n < scales.size(); ++n) {
        state.LogScaleUnit[n] =
            scales[n] ? std::optional<std::string>(scales[n]->unit) : std::nullopt;
    }
}

void SetLoggedDerived(AcquisitionState& state, const derived::DerivedSettings& settings) {
    state.LogDerived.clear();
    for (std::size_t slot = 0; slot < settings.channels.size() && slot < kDerivedSlots; ++slot) {
        const derived::DerivedChannel& channel = settings.channels[slot];
        if (channel.saved) {
            state.LogDerived.push_back({slot, channel.name, channel.unit});
        }
    }
}

std::string HeaderLine(const AcquisitionState& state) {
    std::string line(StampColumnNames(StampStyleOf(state.LogStampStyle)));
    line += JoinColumns(
        state,
        [&](int n) { return HeaderColumns(state, state.ChannelName[n], LoggedUnit(state, n)); },
        [&](const LoggedDerived& logged) {
            return HeaderColumns(state, logged.name, logged.unit);
        });
    return line;
}

std::string RecordValues(const AcquisitionState& state, const LatestValues& values,
                         const IntervalFigures& figures, const DerivedRecord& derived) {
    return JoinColumns(
        state,
        [&](int n) {
            const auto slot = static_cast<std::size_t>(n);
            return FiguresText(state, values[slot], figures[slot]);
        },
        [&](const LoggedDerived& logged) {
            return FiguresText(state, AsFloat(derived.latest[logged.slot]),
                               derived.figures[logged.slot]);
        });
}

}  // namespace vantrel
