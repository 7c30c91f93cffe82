#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <vector>

#include "tests/support/FakeClock.h"
#include "views/TrendModel.h"

namespace vantrel {
namespace {

constexpr platform::Rgb kRed{255, 0, 0};
constexpr platform::Rgb kBlue{0, 0, 255};

class TrendModelTest : public ::testing::Test {
  protected:
    TrendModelTest() {
        colors.fill(kRed);
        clock.current = {2026, 12, 6, 12, 0, 5};
    }

    TrendDrawing tickWith(float value, int channel = 0) {
        state.ChannelValue[static_cast<std::size_t>(channel)] = value;
        return model.tick(state, colors, clock);
    }

    std::vector<TrendLine> linesOf(const TrendDrawing& drawing, platform::Rgb color) {
        std::vector<TrendLine> out;
        for (const TrendLine& line : drawing.lines) {
            if (line.color == color) {
                out.push_back(line);
            }
        }
        return out;
    }

    AcquisitionState state;
    TrendColors colors{};
    testing::FakeClock clock;
    TrendModel model;
};

TEST_F(TrendModelTest, OpensWithTenPointsRangeHundredAndZeroHistory) {
    EXPECT_EQ(model.TrendPoints, 10);
    EXPECT_EQ(model.TrendStartOffset, -10);
    EXPECT_EQ(model.TrendRange, 100.0f);
    for (const auto& channel : model.TrendHistory) {
        for (float sample : channel) {
            ASSERT_EQ(sample, 0.0f);
        }
    }
}

TEST_F(TrendModelTest, GridIsElevenRowsAndElevenColumnsOverThePlotArea) {
    const std::vector<TrendLine> grid = TrendGrid();
    ASSERT_EQ(grid.size(), 22u);
    for (int i = 0; i <= 10; ++i) {
        const float at = 1000.0f + 1000.0f * static_cast<float>(i);
        EXPECT_EQ(grid[static_cast<std::size_t>(i)],
                  (TrendLine{{64, 64, 64}, 1000, at, 11000, at}));
        EXPECT_EQ(grid[static_cast<std::size_t>(11 + i)],
                  (TrendLine{{64, 64, 64}, at, 1000, at, 11000}));
    }
}

// Ten points over a range of 100: sample j sits at x = 1000 + 1000 j, and the
// scale puts 0 on the bottom line, 100 on the top line, values beyond the range
// outside the plot area without any clamping.
TEST_F(TrendModelTest, TenPointsRangeHundredMatchesTheWorkedExample) {
    state.PlotChannel[0] = true;
    const std::vector<std::pair<float, float>> valueToY = {
        {0, 11000}, {50, 6000}, {100, 1000}, {150, -4000}, {-10, 12000}, {25, 8500},
        {0, 11000}, {75, 3500}, {100, 1000}, {50, 6000},   {10, 10000}};
    TrendDrawing drawing;
    for (const auto& [value, y] : valueToY) {
        drawing = tickWith(value);
    }
    ASSERT_EQ(drawing.lines.size(), 10u);
    for (std::size_t j = 0; j < 10; ++j) {
        SCOPED_TRACE(j);
        const TrendLine& line = drawing.lines[j];
        EXPECT_EQ(line.color, kRed);
        EXPECT_EQ(line.x1, 1000.0f + 1000.0f * static_cast<float>(j));
        EXPECT_EQ(line.x2, 2000.0f + 1000.0f * static_cast<float>(j));
        EXPECT_EQ(line.y1, valueToY[j].second);
        EXPECT_EQ(line.y2, valueToY[j + 1].second);
    }
}

TEST_F(TrendModelTest, LabelsShowNowTheStartOfTheWindowZeroAndTheRange) {
    const TrendDrawing drawing = tickWith(0);
    const std::vector<TrendText> expected = {{"12:00:05", {0, 255, 0}, 10700, 11250},
                                             {"11:59:55", {0, 255, 0}, 700, 11250},
                                             {"  0", {0, 255, 255}, 500, 10750},
                                             {"100", {0, 255, 255}, 500, 750}};
    EXPECT_EQ(drawing.texts, expected);
    EXPECT_TRUE(drawing.lines.empty()) << "nothing is plotted";
}

TEST_F(TrendModelTest, FiveHundredPointsAreTwentyUnitsApartAndSpanFiveHundredSeconds) {
    state.PlotChannel[4] = true;
    model.choosePoints(4);
    EXPECT_EQ(model.TrendPoints, 500);
    EXPECT_EQ(model.TrendStartOffset, -500);
    const TrendDrawing drawing = tickWith(1, 4);
    ASSERT_EQ(drawing.lines.size(), 500u);
    for (std::size_t j = 0; j < drawing.lines.size(); ++j) {
        ASSERT_EQ(drawing.lines[j].x1, 1000.0f + 20.0f * static_cast<float>(j));
        ASSERT_EQ(drawing.lines[j].x2 - drawing.lines[j].x1, 20.0f);
    }
    EXPECT_EQ(drawing.texts[1].text, "11:51:45");
}

TEST(TrendScale, CoordinatesAreRoundedToSinglePrecision) {
    EXPECT_EQ(TrendModel::SampleX(1, 3), static_cast<float>(1000.0 + 10000.0 / 3.0));
    EXPECT_EQ(TrendModel::ValueY(1.0f, 3.0f), static_cast<float>(11000.0 - 10000.0 / 3.0));
}

TEST_F(TrendModelTest, OtherPointPositionsChangeNothing) {
    model.choosePoints(2);
    for (int position : {-1, 5, 100}) {
        model.choosePoints(position);
        EXPECT_EQ(model.TrendPoints, 100);
        EXPECT_EQ(model.TrendStartOffset, -100);
    }
}

TEST_F(TrendModelTest, ChannelsAreDrawnInOrderInTheirOwnColours) {
    state.PlotChannel[2] = true;
    state.PlotChannel[7] = true;
    colors[7] = kBlue;
    const TrendDrawing drawing = tickWith(1);
    ASSERT_EQ(drawing.lines.size(), 20u);
    EXPECT_EQ(linesOf(drawing, kRed).size(), 10u);
    EXPECT_EQ(drawing.lines.front().color, kRed);
    EXPECT_EQ(drawing.lines.back().color, kBlue);
}

TEST_F(TrendModelTest, EveryChannelShiftsWhetherPlottedOrNot) {
    for (int k = 1; k <= 3; ++k) {
        tickWith(static_cast<float>(k), 9);
    }
    const auto& history = model.TrendHistory[9];
    EXPECT_EQ(history[8], 1.0f);
    EXPECT_EQ(history[9], 2.0f);
    EXPECT_EQ(history[10], 3.0f);
    EXPECT_EQ(history[11], 0.0f) << "samples past N are untouched";
}

// The newest sample always lands at position N and the buffer is not reordered,
// so shrinking N first shows samples that are N_old - N_new seconds old.
TEST_F(TrendModelTest, ShrinkingPointsShowsOldSamplesUntilTheyScrollOut) {
    model.choosePoints(1);  // 50
    for (int k = 1; k <= 60; ++k) {
        tickWith(static_cast<float>(k));
    }
    model.choosePoints(0);  // 10
    tickWith(100);
    const auto& history = model.TrendHistory[0];
    for (int j = 0; j < 10; ++j) {
        EXPECT_EQ(history[static_cast<std::size_t>(j)], static_cast<float>(11 + j)) << j;
    }
    EXPECT_EQ(history[10], 100.0f);
}

TEST_F(TrendModelTest, GrowingPointsShowsZerosWhereNoSampleWasKept) {
    for (int k = 1; k <= 15; ++k) {
        tickWith(static_cast<float>(k));
    }
    model.choosePoints(1);  // 50
    tickWith(100);
    const auto& history = model.TrendHistory[0];
    EXPECT_EQ(history[0], 6.0f);
    EXPECT_EQ(history[9], 15.0f);
    EXPECT_EQ(history[10], 0.0f);
    EXPECT_EQ(history[49], 0.0f);
    EXPECT_EQ(history[50], 100.0f);
}

struct RangeCase {
    std::string typed;
    std::string shown;
    float range;
};

class TrendRangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(TrendRangeTest, BelowOneEmptyOrNonNumericBecomesOne) {
    TrendModel model;
    EXPECT_EQ(model.applyRange(GetParam().typed), GetParam().shown);
    EXPECT_EQ(model.TrendRange, GetParam().range);
}

INSTANTIATE_TEST_SUITE_P(Texts, TrendRangeTest,
                         ::testing::Values(RangeCase{"0.5", "1", 1}, RangeCase{"0", "1", 1},
                                           RangeCase{"-3", "1", 1}, RangeCase{"x12", "1", 1},
                                           RangeCase{"", "1", 1}, RangeCase{"1", "1", 1},
                                           RangeCase{"250", "250", 250},
                                           RangeCase{"12.5 V", "12.5 V", 12.5f},
                                           RangeCase{"1e999", "1e999", FLT_MAX}));

TEST_F(TrendModelTest, RangeOfOnePutsOneOnTheTopLine) {
    state.PlotChannel[0] = true;
    model.applyRange("0");
    const TrendDrawing drawing = tickWith(1);
    EXPECT_EQ(drawing.lines.back().y2, 1000.0f);
}

TEST_F(TrendModelTest, RangeOf250PutsHalfOnTheMiddleLineAndLabelsTheTop) {
    state.PlotChannel[0] = true;
    model.applyRange("250");
    const TrendDrawing drawing = tickWith(125);
    EXPECT_EQ(drawing.lines.back().y2, 6000.0f);
    EXPECT_EQ(drawing.texts[3].text, "250");
}

struct ClockCase {
    platform::DateTime time;
    int offset;
    std::string text;
};

class ClockTextTest : public ::testing::TestWithParam<ClockCase> {};

TEST_P(ClockTextTest, IsTwentyFourHourTimeWithLeadingZeros) {
    EXPECT_EQ(ClockText(GetParam().time, GetParam().offset), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Times, ClockTextTest,
                         ::testing::Values(ClockCase{{2026, 1, 1, 9, 5, 7}, 0, "09:05:07"},
                                           ClockCase{{2026, 1, 1, 23, 59, 59}, 0, "23:59:59"},
                                           ClockCase{{2026, 1, 1, 0, 0, 5}, -10, "23:59:55"},
                                           ClockCase{{2026, 1, 1, 0, 5, 0}, -500, "23:56:40"},
                                           ClockCase{{2026, 1, 1, 13, 0, 0}, -200, "12:56:40"}));

TEST(WholeNumberText, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(WholeNumberText(2.5f), "3");
    EXPECT_EQ(WholeNumberText(1.4f), "1");
    EXPECT_EQ(WholeNumberText(100.0f), "100");
}

}  // namespace
}  // namespace vantrel
