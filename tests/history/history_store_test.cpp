// The run's history and what is read back from it: reduced data keeps every peak,
// the mean and the first moment, within its memory limits; a plot column shows its
// minimum and maximum, whatever the length; values under cursors; a frame whose
// conversion failed leaves gaps from the failed slot on, not stale values; the CSV
// export's header quoting and units, ISO times with offset, bucket rows and card
// merging; a column's unit in brackets after its name.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "history/ColumnHeading.h"
#include "history/CsvExport.h"
#include "history/HistoryDocument.h"
#include "history/SeriesReading.h"
#include "platform/DateTimeText.h"

namespace vantrel::history {
namespace {

constexpr SeriesLimits kSmall{100, {64, 64, 0}};

// The card's frame as the link hands it over, from the state's values at utcMs;
// its conversion failed at failedSlot.
void AddFrame(HistoryDocument& run, const AcquisitionState& state, int card, std::int64_t utcMs,
              int failedSlot = -1) {
    std::optional<ConversionFailure> failure;
    if (failedSlot >= 0) {
        failure = ConversionFailure{ConversionFailure::Kind::Overflow, failedSlot};
    }
    AddCardFrame(run, TakeConvertedFrame(state, card, platform::LocalDateTime(utcMs, 0), failure));
}

// Frame i at x = 10 * i holding i % 50 in channel 0 and -i in channel 1; frame 5000
// holds a spike of 1000.
ReducingSeries Filled(int frames, SeriesLimits limits) {
    ReducingSeries series(2, limits);
    for (int i = 0; i < frames; ++i) {
        const float values[2] = {i == 5000 ? 1000.0f : static_cast<float>(i % 50),
                                 -static_cast<float>(i)};
        series.append(10LL * i, values);
    }
    return series;
}

TEST(ReducingSeries, OlderFramesBecomeBucketsThatKeepPeaksMeanAndTheFirstMoment) {
    const ReducingSeries series = Filled(200'000, kSmall);
    EXPECT_EQ(series.count(0), 100u);
    EXPECT_EQ(series.count(1), 64u);
    EXPECT_EQ(series.firstX(), 0);
    EXPECT_EQ(series.lastX(), 1'999'990);
    EXPECT_LT(series.memoryBytes(), 20'000u);

    const RangeStats all = StatsBetween(series, 0, 0, 2'000'000);
    EXPECT_EQ(all.count, 200'000u);
    EXPECT_EQ(all.max, 1000.0f);
    EXPECT_EQ(all.min, 0.0f);
    EXPECT_NEAR(all.mean, 4'901'000 / 200'000.0, 0.001);
    EXPECT_EQ(StatsBetween(series, 1, 0, 2'000'000).min, -199'999.0f);
}

TEST(ReducingSeries, AStepBackInTimeStaysAtTheLastMoment) {
    ReducingSeries series(1);
    const float value = 1.0f;
    series.append(500, &value);
    series.append(400, &value);
    EXPECT_EQ(series.itemFirst(0, 1), 500);
}

TEST(PlotPoints, ColumnsHoldTheirMinimumAndMaximumAndFewItemsStayWhole) {
    const ReducingSeries series = Filled(200'000, kLiveLimits);
    const std::vector<PlotPoint> reduced = PlotPoints(series, 0, 0, 1'999'990, 100);
    EXPECT_LE(reduced.size(), 200u);
    EXPECT_EQ(std::ranges::max(reduced, {}, &PlotPoint::y).y, 1000.0);
    // Every column spans 2000 frames, so each shows 0 as its minimum.
    EXPECT_EQ(std::ranges::count(reduced, 0.0, &PlotPoint::y), 100);

    const std::vector<PlotPoint> whole = PlotPoints(series, 1, 100, 130, 100);
    ASSERT_EQ(whole.size(), 4u);
    EXPECT_EQ(whole[0].x, 100.0);
    EXPECT_EQ(whole[3].y, -13.0);
}

TEST(PlotPoints, APauseLongerThanTheBreakLeavesAGap) {
    ReducingSeries series(1);
    for (const std::int64_t x : {0, 65, 130, 9000, 9065}) {
        const float value = 2.0f;
        series.append(x, &value);
    }
    const std::vector<PlotPoint> points = PlotPoints(series, 0, 0, 9065, 1000, 2000);
    ASSERT_EQ(points.size(), 6u);
    EXPECT_TRUE(std::isnan(points[3].y));
    EXPECT_FALSE(std::isnan(points[2].y));
}

TEST(SeriesReading, ValueAtACursorIsTheNewestAtOrBeforeIt) {
    const ReducingSeries series = Filled(100, {});
    EXPECT_FALSE(ValueAt(series, 0, -1));
    EXPECT_EQ(*ValueAt(series, 1, 15), -1.0f);
    EXPECT_EQ(*ValueAt(series, 1, 20), -2.0f);
    EXPECT_EQ(*ValueAt(series, 1, 5000), -99.0f);
    const RangeStats between = StatsBetween(series, 1, 20, 40);
    EXPECT_EQ(between.count, 3u);
    EXPECT_EQ(between.mean, -3.0);
}

TEST(RunHistory, AFailedSlotAndTheSlotsAfterItAreGapsOfThatCardOnly) {
    AcquisitionState state;
    for (int slot = 0; slot < kUsedChannels; ++slot) {
        state.ChannelValue[static_cast<std::size_t>(slot)] = static_cast<float>(slot);
    }
    HistoryDocument run = RunHistory();
    AddFrame(run, state, 1, 1000, 13);
    AddFrame(run, state, 0, 1000, 13);
    const ReducingSeries& card2 = run.groups[1].series;
    EXPECT_EQ(*ValueAt(card2, 4, 1000), 12.0f);
    EXPECT_TRUE(std::isnan(*ValueAt(card2, 5, 1000)));
    EXPECT_TRUE(std::isnan(*ValueAt(card2, 7, 1000)));
    EXPECT_EQ(*ValueAt(run.groups[0].series, 7, 1000), 7.0f);
}

// A heading and the name and unit it stands for, both ways unless marked.
struct Heading {
    const char* text;
    const char* name;
    const char* unit;
    bool writtenSo = true;
};
class ColumnHeadings : public testing::TestWithParam<Heading> {};

TEST_P(ColumnHeadings, NameTheUnitInBracketsAfterTheName) {
    const Heading& h = GetParam();
    const ColumnHeading read = SplitUnit(h.text);
    EXPECT_EQ(read.name, h.name);
    EXPECT_EQ(read.unit, h.unit);
    if (h.writtenSo) {
        EXPECT_EQ(NameWithUnit(h.name, h.unit), h.text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColumnHeadings,
    testing::Values(Heading{"Tin [°C]", "Tin", "°C"}, Heading{"Fan, left [V]", "Fan, left", "V"},
                    Heading{"Tank", "Tank", ""}, Heading{"flow [m³/h]", "flow", "m³/h"},
                    Heading{"x [a] [b]", "x [a]", "b"}, Heading{"a []", "a []", "", false},
                    Heading{"[V]", "[V]", "", false}, Heading{"a [b[c]", "a [b[c]", "", false},
                    Heading{"a[V]", "a[V]", "", false}));

TEST(CsvExport, TimesWithOffsetQuotedNamesBucketRowsAndCardsInTimeOrder) {
    // 64 whole frames at most: of 97 frames, the first 32 and the next 32 are buckets.
    HistoryDocument run = RunHistory({64, {64, 64, 0}});
    AcquisitionState state;
    state.ChannelValue[8] = 12345678.0f;
    const std::int64_t t = 1'796'562'309'250;  // 2026-12-06T13:05:09.250Z
    AddFrame(run, state, 1, t + 40);
    for (int i = 0; i < 97; ++i) {
        state.ChannelValue[0] = static_cast<float>(i % 3) - 0.5f;
        AddFrame(run, state, 0, t - 8000 + 65 * i, 5);
    }
    std::string csv;
    EXPECT_TRUE(WriteCsv(
        [&](std::string_view piece) {
            csv += piece;
            return true;
        },
        run, {{0, 0, "Temp, \"in\""}, {1, 0, "Fan", "rpm"}, {0, 5, "Failed"}}, t - 8000, t + 40,
        [](std::int64_t) { return 60; }));
    EXPECT_TRUE(
        csv.starts_with("time,\"Temp, \"\"in\"\"\",Fan [rpm],Failed\r\n"
                        "2026-12-06T14:05:01.250+01:00,-0.5,,\r\n"
                        "2026-12-06T14:05:01.250+01:00,1.5,,\r\n"
                        "2026-12-06T14:05:03.330+01:00,-0.5,,\r\n"))
        << csv;
    EXPECT_TRUE(
        csv.ends_with("2026-12-06T14:05:07.490+01:00,-0.5,,\r\n"
                      "2026-12-06T14:05:09.290+01:00,,1.234568E+07,\r\n"));
    // The header, two rows per bucket, 33 whole frames of card 1 and card 2's frame.
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 4 + 33 + 1);
}

}  // namespace
}  // namespace vantrel::history
