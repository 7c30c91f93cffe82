// The logger's own log files read back as File > Open Log reads them, in every
// stamp style and separator, with no header, plain names or names that must be
// quoted: the same values, times and names. Guards against the writing and the
// reading side drifting apart (a stamp field, a separator, a length or the quoting
// changed on one side only), and against a time-only log losing the day at midnight.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "history/LogReader.h"
#include "logging/DataLogger.h"
#include "logging/SaveOptions.h"
#include "platform/DateTimeText.h"
#include "tests/engine/TempFolder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel::history {
namespace {

constexpr int kOffset = 60;  // local time is UTC+01:00
// No header, then names as they are, then names holding a comma or a separator.
const std::array<std::vector<std::string>, 3> kNames = {
    {{"Column 1", "Column 2"}, {"Fan", "Pump"}, {"Temp, in", "A    B C"}}};
// Card 1's channel 2 and card 2's channel 1, one record each; every text form.
constexpr std::array<std::array<float, 2>, 3> kValues = {
    {{1.25f, -0.5f}, {12345680.0f, 1e-05f}, {0.0001f, -2.0f}}};

class LogRoundTrip : public ::testing::TestWithParam<std::tuple<StampStyle, Delimiter, int>> {};

TEST_P(LogRoundTrip, TheReaderGivesBackWhatTheLoggerWrote) {
    const auto [stamp, delimiter, names] = GetParam();
    vantrel::testing::TempFolder folder;
    AcquisitionState state;
    state.CardConnected1 = state.SaveChannel[2] = state.SaveChannel[9] = true;
    SaveOptionsChoice choice{folder.file("run.csv"),        {}, names > 0,    CodeOf(delimiter),
                             CodeOf(IntervalUnit::Seconds), 1,  CodeOf(stamp)};
    choice.channelNames[2] = kNames[names][0];
    choice.channelNames[9] = kNames[names][1];
    vantrel::testing::FakeClock clock;
    clock.current = {2026, 12, 6, 23, 59, 58, 250, kOffset};
    vantrel::testing::FakeDialogs dialogs;
    DiskLogFileSink sink;
    ASSERT_FALSE(ApplySaveOptions(state, choice, sink, clock.current));
    DataLogger logger(state, clock, dialogs, sink);
    // The moments the records stand for: to the millisecond in ISO, to the second
    // in the other time stamps, the record's number without.
    std::vector<std::int64_t> xs;
    for (std::size_t r = 0; r < kValues.size(); ++r) {
        ConvertedFrame card1;
        card1.values[2] = kValues[r][0];
        ConvertedFrame card2;
        card2.card = 1;
        card2.values[1] = kValues[r][1];
        logger.TakeFrame(card1);
        logger.TakeFrame(card2);
        logger.Tick();
        const std::int64_t now = platform::UtcMilliseconds(clock.current);
        xs.push_back(stamp == StampStyle::Serial || stamp == StampStyle::None
                         ? static_cast<std::int64_t>(r) + 1
                         : now - (stamp == StampStyle::Iso ? 0 : clock.current.millisecond));
        clock.current = platform::LocalDateTime(now + 1000, kOffset);
    }

    LogReadOptions options;
    options.firstDay = {2026, 12, 6};
    options.localToUtc = [](platform::DateTime local) {
        local.utcOffsetMinutes = kOffset;
        return platform::UtcMilliseconds(local);
    };
    LogReader reader(options);
    reader.feed(folder.read("run.csv"));
    const HistoryDocument read = reader.finish();
    EXPECT_EQ(reader.problemText(), "");
    ASSERT_EQ(read.groups.size(), 1u);
    EXPECT_EQ(read.groups[0].names, kNames[names]);
    const ReducingSeries& series = read.groups[0].series;
    ASSERT_EQ(series.count(0), kValues.size());
    for (std::size_t r = 0; r < kValues.size(); ++r) {
        EXPECT_EQ(series.itemFirst(0, r), xs[r]) << r;
        EXPECT_EQ(series.stat(0, r, 0).min, kValues[r][0]) << r;
        EXPECT_EQ(series.stat(0, r, 1).min, kValues[r][1]) << r;
    }
}

std::string LayoutName(const ::testing::TestParamInfo<LogRoundTrip::ParamType>& info) {
    const auto [stamp, delimiter, names] = info.param;
    return "Stamp" + std::to_string(CodeOf(stamp)) + "Delimiter" +
           std::to_string(CodeOf(delimiter)) +
           std::array{"NoHeader", "Names", "QuotedNames"}[static_cast<std::size_t>(names)];
}

INSTANTIATE_TEST_SUITE_P(
    EveryLayout, LogRoundTrip,
    ::testing::Combine(::testing::Values(StampStyle::Serial, StampStyle::DateAndTime,
                                         StampStyle::Time, StampStyle::None, StampStyle::Iso),
                       ::testing::Values(Delimiter::Comma, Delimiter::FourSpaces, Delimiter::Space),
                       ::testing::Values(0, 1, 2)),
    LayoutName);

}  // namespace
}  // namespace vantrel::history
