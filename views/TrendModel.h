#pragma once

// What the real-time trend shows, as plain data: the history of every channel
// and, per tick, the list of texts and line segments to draw on the 12000 x 12000
// logical surface. The window only paints the list, so the drawing rules can be
// checked without a screen.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/AcquisitionState.h"
#include "engine/ChannelScale.h"
#include "platform/Clock.h"
#include "platform/Color.h"

namespace vantrel {

inline constexpr int kTrendLogicalSize = 12000;
// The plot area: x and y from 1000 to 11000 logical units.
inline constexpr float kTrendPlotMin = 1000.0f;
inline constexpr float kTrendPlotMax = 11000.0f;
inline constexpr int kTrendChannels = 21;
inline constexpr int kTrendSamples = 501;
inline constexpr std::array<std::int16_t, 5> kTrendPointChoices{10, 50, 100, 200, 500};

inline constexpr platform::Rgb kTrendGridColor{64, 64, 64};
inline constexpr platform::Rgb kTrendClockColor{0, 255, 0};
inline constexpr platform::Rgb kTrendScaleColor{0, 255, 255};

// Text whose top-left corner sits at (x, y) in logical units.
struct TrendText {
    std::string text;
    platform::Rgb color;
    float x = 0.0f;
    float y = 0.0f;
    friend bool operator==(const TrendText&, const TrendText&) = default;
};

struct TrendLine {
    platform::Rgb color;
    float x1 = 0.0f;
    float y1 = 0.0f;
    float x2 = 0.0f;
    float y2 = 0.0f;
    friend bool operator==(const TrendLine&, const TrendLine&) = default;
};

struct TrendDrawing {
    std::vector<TrendText> texts;
    std::vector<TrendLine> lines;  // in drawing order: later ones cover earlier ones
};

using TrendColors = std::array<platform::Rgb, kUsedChannels>;

// The 22 standing grid lines of the plot area; a tick never redraws them.
std::vector<TrendLine> TrendGrid();

// "hh:mm:ss" of `time` moved by offsetSeconds, wrapping round midnight.
std::string ClockText(const platform::DateTime& time, int offsetSeconds = 0);

// The range label: a whole number, halves rounded away from zero.
std::string WholeNumberText(float value);

class TrendModel {
  public:
    // Logical x of sample j when N segments span the plot area.
    static float SampleX(int j, int points);
    // Logical y of value v on a scale from 0 (y = 11000) to range (y = 1000).
    static float ValueY(float value, float range);

    // Position in the points list (0..4); any other position changes nothing.
    void choosePoints(int position);

    // Applies the text of the range box and returns what the box shows
    // afterwards: a value below 1, an empty or a non-numeric text becomes "1".
    std::string applyRange(std::string_view text);

    // One tick: shifts every channel's history, takes the latest values (through
    // the channel's user scale where it has one) and returns what to draw. The
    // clock is read once for each time label.
    TrendDrawing tick(const AcquisitionState& state, const TrendColors& colors,
                      const platform::Clock& clock, const ChannelScales& scales = {});

    // Past values per channel; for the current N, sample N is the newest.
    std::array<std::array<float, kTrendSamples>, kTrendChannels> TrendHistory{};
    std::int16_t TrendPoints = kTrendPointChoices[0];
    std::int16_t TrendStartOffset = -kTrendPointChoices[0];
    float TrendRange = 100.0f;
};

}  // namespace vantrel
