#include "views/TrendModel.h"

#include "engine/ScaledValue.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>

#include "engine/LenientNumber.h"

namespace vantrel {

namespace {

constexpr float kPlotLeft = kTrendPlotMin;
constexpr float kPlotRight = kTrendPlotMax;
constexpr float kPlotTop = kTrendPlotMin;
constexpr float kPlotBottom = kTrendPlotMax;
constexpr double kPlotSpan = 10000.0;
constexpr int kGridSteps = 10;

}  // namespace

std::vector<TrendLine> TrendGrid() {
    std::vector<TrendLine> grid;
    grid.reserve(2 * (kGridSteps + 1));
    const float step = static_cast<float>(kPlotSpan / kGridSteps);
    for (int i = 0; i <= kGridSteps; ++i) {
        const float at = kPlotTop + step * static_cast<float>(i);
        grid.push_back({kTrendGridColor, kPlotLeft, at, kPlotRight, at});
    }
    for (int i = 0; i <= kGridSteps; ++i) {
        const float at = kPlotLeft + step * static_cast<float>(i);
        grid.push_back({kTrendGridColor, at, kPlotTop, at, kPlotBottom});
    }
    return grid;
}

std::string ClockText(const platform::DateTime& time, int offsetSeconds) {
    using namespace std::chrono;
    constexpr seconds kDay = hours(24);
    seconds of = hours(time.hour) + minutes(time.minute) + seconds(time.second + offsetSeconds);
    of = ((of % kDay) + kDay) % kDay;
    const hh_mm_ss<seconds> clock(of);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

std::string WholeNumberText(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", std::round(static_cast<double>(value)));
    return text;
}

float TrendModel::SampleX(int j, int points) {
    return static_cast<float>(kPlotLeft + static_cast<double>(j * 10000) / points);
}

float TrendModel::ValueY(float value, float range) {
    return static_cast<float>(kPlotBottom - (static_cast<double>(value) * kPlotSpan) / range);
}

void TrendModel::choosePoints(int position) {
    if (position < 0 || position >= static_cast<int>(kTrendPointChoices.size())) {
        return;
    }
    TrendPoints = kTrendPointChoices[static_cast<std::size_t>(position)];
    TrendStartOffset = static_cast<std::int16_t>(-TrendPoints);
}

std::string TrendModel::applyRange(std::string_view text) {
    const double value = LeadingNumber(text, number_rules::kTrendRange);
    if (!(value >= 1.0)) {
        TrendRange = 1.0f;
        return "1";
    }
    // A range beyond what a single holds would scale every value onto the zero
    // line (or overflow); the largest single is the nearest meaningful range.
    constexpr double kLargest = std::numeric_limits<float>::max();
    TrendRange = static_cast<float>(value > kLargest ? kLargest : value);
    return std::string(text);
}

TrendDrawing TrendModel::tick(const AcquisitionState& state, const TrendColors& colors,
                              const platform::Clock& clock, const ChannelScales& scales) {
    TrendDrawing drawing;
    drawing.texts.push_back({ClockText(clock.now()), kTrendClockColor, 10700.0f, 11250.0f});
    drawing.texts.push_back(
        {ClockText(clock.now(), TrendStartOffset), kTrendClockColor, 700.0f, 11250.0f});
    drawing.texts.push_back({"  0", kTrendScaleColor, 500.0f, 10750.0f});
    drawing.texts.push_back({WholeNumberText(TrendRange), kTrendScaleColor, 500.0f, 750.0f});

    const int n = TrendPoints;
    for (int channel = 0; channel < kUsedChannels; ++channel) {
        auto& history = TrendHistory[static_cast<std::size_t>(channel)];
        for (int j = 0; j < n; ++j) {
            history[static_cast<std::size_t>(j)] = history[static_cast<std::size_t>(j + 1)];
        }
        const std::optional<ChannelScale>& scale = scales[static_cast<std::size_t>(channel)];
        history[static_cast<std::size_t>(n)] =
            scale ? static_cast<float>(ScaledValue(state, channel, *scale))
                  : state.ChannelValue[static_cast<std::size_t>(channel)];
    }

    int plotted = 0;
    for (int channel = 0; channel < kUsedChannels; ++channel) {
        plotted += state.PlotChannel[static_cast<std::size_t>(channel)] ? 1 : 0;
    }
    drawing.lines.reserve(static_cast<std::size_t>(plotted * n));

    std::vector<float> xs(static_cast<std::size_t>(n) + 1);
    for (int j = 0; j <= n; ++j) {
        xs[static_cast<std::size_t>(j)] = SampleX(j, n);
    }
    for (int channel = 0; channel < kUsedChannels; ++channel) {
        if (!state.PlotChannel[static_cast<std::size_t>(channel)]) {
            continue;
        }
        const auto& history = TrendHistory[static_cast<std::size_t>(channel)];
        const platform::Rgb color = colors[static_cast<std::size_t>(channel)];
        float previousY = ValueY(history[0], TrendRange);
        for (int j = 0; j < n; ++j) {
            const auto next = static_cast<std::size_t>(j + 1);
            const float y = ValueY(history[next], TrendRange);
            drawing.lines.push_back(
                {color, xs[static_cast<std::size_t>(j)], previousY, xs[next], y});
            previousY = y;
        }
    }
    return drawing;
}

}  // namespace vantrel
