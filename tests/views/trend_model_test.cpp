// Guards the trend's drawing rules: where samples and values land (the ten-point,
// range-100 worked example, 500 points 20 units apart), channel order and colours,
// the four labels' texts, places and colours (the clock wrapping at midnight), the
// grid, the five point choices, the history shift of every channel, and the range
// box: its text's leading number, anything below 1 becoming "1", a huge one the
// largest single; a channel's user scale applied to what is drawn; a line cut at
// the plot area's edge, where it crosses it.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <optional>

#include "tests/support/FakeClock.h"
#include "views/TrendClipping.h"
#include "views/TrendModel.h"

namespace vantrel {
namespace {

constexpr platform::Rgb kRed{255, 0, 0};
constexpr platform::Rgb kBlue{0, 0, 255};

class TrendModelTest : public ::testing::Test {
  protected:
    TrendModelTest() { colors.fill(kRed); }

    TrendDrawing tickWith(float value, int channel = 0) {
        state.ChannelValue[static_cast<std::size_t>(channel)] = value;
        return model.tick(state, colors, clock);
    }

    AcquisitionState state;
    TrendColors colors{};
    testing::FakeClock clock;
    TrendModel model;
};

TEST_F(TrendModelTest, TenPointsOverRangeHundredFollowTheWorkedExample) {
    state.PlotChannel[0] = true;
    state.PlotChannel[7] = true;
    colors[7] = kBlue;
    const float values[] = {0, 50, 100, 150, -10, 25, 0, 75, 100, 50, 10};
    const float ys[] = {11000, 6000, 1000, -4000, 12000, 8500, 11000, 3500, 1000, 6000, 10000};
    TrendDrawing drawing;
    for (const float value : values) {
        drawing = tickWith(value);
    }
    ASSERT_EQ(drawing.lines.size(), 20u);
    for (std::size_t j = 0; j < 10; ++j) {
        const float x = 1000.0f + 1000.0f * static_cast<float>(j);
        EXPECT_EQ(drawing.lines[j], (TrendLine{kRed, x, ys[j], x + 1000.0f, ys[j + 1]})) << j;
    }
    EXPECT_EQ(drawing.lines[10], (TrendLine{kBlue, 1000, 11000, 2000, 11000}));
}

TEST_F(TrendModelTest, AScaledChannelIsDrawnAsTheUserReadsItAndTheOthersAsConverted) {
    state.PlotChannel[0] = true;
    state.PlotChannel[1] = true;
    state.ChannelValue[1] = 30.0f;
    ChannelScales scales{};
    scales[0] = ChannelScale{};
    SetGainOffset(*scales[0], 2.0, 5.0);
    state.ChannelValue[0] = 10.0f;
    const TrendDrawing drawing = model.tick(state, colors, clock, scales);
    EXPECT_EQ(drawing.lines[9].y2, TrendModel::ValueY(25.0f, 100.0f));
    EXPECT_EQ(drawing.lines[19].y2, TrendModel::ValueY(30.0f, 100.0f));
}

TEST_F(TrendModelTest, LabelsShowNowNSecondsEarlierZeroAndTheRange) {
    clock.current = {2026, 12, 6, 0, 0, 5};
    const std::vector<TrendText> expected = {{"00:00:05", {0, 255, 0}, 10700, 11250},
                                             {"23:59:55", {0, 255, 0}, 700, 11250},
                                             {"  0", {0, 255, 255}, 500, 10750},
                                             {"100", {0, 255, 255}, 500, 750}};
    EXPECT_EQ(tickWith(0).texts, expected);
    model.choosePoints(4);
    model.applyRange("2.5");
    const TrendDrawing drawing = tickWith(0);
    EXPECT_EQ(drawing.texts[1].text, "23:51:45");
    EXPECT_EQ(drawing.texts[3].text, "3") << "a half rounds away from zero";
}

// The newest sample always goes to position N and nothing is reordered, so every
// channel shifts, plotted or not, and shrinking N first shows older samples.
TEST_F(TrendModelTest, EveryChannelShiftsAndShrinkingNShowsOlderSamples) {
    model.choosePoints(1);
    for (int k = 1; k <= 60; ++k) {
        tickWith(static_cast<float>(k), 9);
    }
    model.choosePoints(0);
    tickWith(100, 9);
    const auto& history = model.TrendHistory[9];
    EXPECT_EQ(history[0], 11.0f);
    EXPECT_EQ(history[9], 20.0f);
    EXPECT_EQ(history[10], 100.0f);
    EXPECT_EQ(history[11], 21.0f) << "samples past N stay";
}

// The box shows what was typed unless its leading number is below 1: then "1".
TEST_F(TrendModelTest, RangeIsTheLeadingNumberAndBelowOneBecomesOne) {
    const std::pair<const char*, float> cases[] = {{"250 units", 250}, {"1", 1},   {"0.5", 1},
                                                   {"-3", 1},          {"x12", 1}, {"", 1},
                                                   {"1e999", FLT_MAX}};
    for (const auto& [typed, range] : cases) {
        EXPECT_EQ(model.applyRange(typed), range == 1 ? "1" : typed) << typed;
        EXPECT_EQ(model.TrendRange, range) << typed;
    }
    state.PlotChannel[0] = true;
    model.applyRange("250");
    EXPECT_EQ(tickWith(125).lines.back().y2, 6000.0f);
}

TEST(TrendGrid, ElevenRowsAndElevenColumnsInDarkGrey) {
    const std::vector<TrendLine> grid = TrendGrid();
    ASSERT_EQ(grid.size(), 22u);
    EXPECT_EQ(grid[1], (TrendLine{{64, 64, 64}, 1000, 2000, 11000, 2000}));
    EXPECT_EQ(grid[21], (TrendLine{{64, 64, 64}, 11000, 1000, 11000, 11000}));
}

TEST(TrendClipping, ALineCrossingThePlotAreasEdgeStopsThere) {
    const struct {
        TrendLine line;
        std::optional<TrendLine> part;
    } cases[] = {
        {{kRed, 1000, 1000, 2000, 11000}, TrendLine{kRed, 1000, 1000, 2000, 11000}},  // edges
        {{kRed, 1000, 6000, 2000, -4000}, TrendLine{kRed, 1000, 6000, 1500, 1000}},   // 150 of 100
        {{kRed, 3000, 10000, 4000, 12000}, TrendLine{kRed, 3000, 10000, 3500, 11000}},
        {{kRed, 10000, 5000, 12000, 7000}, TrendLine{kRed, 10000, 5000, 11000, 6000}},
        {{kRed, 1000, -4000, 2000, 999}, std::nullopt},  // above all along
        {{kRed, 1000, 6000, 2000, NAN}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlotAreaPart(c.line), c.part) << c.line.x1 << "," << c.line.y1;
    }
}

}  // namespace
}  // namespace vantrel
