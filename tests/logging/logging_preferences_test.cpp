// The [logging] words and numbers of vantrel.ini as the run uses them. Guards
// against a word read with its case or blanks, a default that drifts, a number out
// of range used as it stands (or not clamped to the nearest bound), a fraction or
// trailing junk taken for a number, a note that does not name the key, the value
// found and the value used, and an absent key that changes anything.
#include <gtest/gtest.h>

#include <map>

#include "logging/LogTail.h"
#include "logging/LoggingPreferences.h"

namespace vantrel {
namespace {

TEST(LoggingPreferences, EveryKeyReadsItsWordsAndRangesAndNamesWhatItUsesInstead) {
    const std::map<std::string, std::string, std::less<>> ini = {
        {"split", " Daily "},         {"split_size_kb", "0"}, {"sync", "INTERVAL"},
        {"sync_interval_s", "86401"}, {"resume", "yes"},      {"low_space_mb", "1.5"}};
    std::vector<ini::Problem> notes;
    const LoggingPreferences read = ReadLoggingPreferences(
        [&](std::string_view key) -> std::optional<std::string> {
            const auto found = ini.find(key);
            return found == ini.end() ? std::nullopt : std::optional(found->second);
        },
        notes);
    EXPECT_EQ(read.split, LogSplit::Daily);
    EXPECT_EQ(read.splitSizeKb, 1);
    EXPECT_EQ(read.sync, LogSync::Interval);
    EXPECT_EQ(read.syncIntervalS, 86400);
    EXPECT_TRUE(read.resume);
    EXPECT_EQ(read.lowSpaceMb, 200);
    EXPECT_EQ(ini::ProblemsMessage(notes),
              "vantrel.ini holds values that cannot be used:\n"
              "[logging] split_size_kb: \"0\" is not valid, 1 is used instead.\n"
              "[logging] sync_interval_s: \"86401\" is not valid, 86400 is used instead.\n"
              "[logging] low_space_mb: \"1.5\" is not valid, 200 is used instead.");

    // Absent keys: every default.
    notes.clear();
    const LoggingPreferences none =
        ReadLoggingPreferences([](std::string_view) { return std::nullopt; }, notes);
    EXPECT_EQ(std::tuple(none.split, none.splitSizeKb, none.sync, none.syncIntervalS, none.resume,
                         none.lowSpaceMb),
              std::tuple(LogSplit::None, 10240, LogSync::Record, 60, false, 200));
    EXPECT_TRUE(notes.empty());

    // One key at a time: what is found, and the note (empty when none).
    const std::pair<PreferenceValue<std::int64_t>, const char*> numbers[] = {
        {ReadSplitSizeKb("+2048"), ""},
        {ReadSplitSizeKb("99999999999999999999"),
         "split_size_kb: found '99999999999999999999', using '1073741824'"},
        {ReadSplitSizeKb("-5"), "split_size_kb: found '-5', using '1'"},
        {ReadSplitSizeKb("+-5"), "split_size_kb: found '+-5', using '10240'"},
        {ReadSyncIntervalS("10s"), "sync_interval_s: found '10s', using '60'"},
        {ReadSyncIntervalS(""), "sync_interval_s: found '', using '60'"},
        {ReadLowSpaceMb("0"), ""}};
    const std::int64_t values[] = {2048, 1073741824, 1, 10240, 60, 60, 0};
    for (std::size_t i = 0; i < std::size(numbers); ++i) {
        EXPECT_EQ(numbers[i].first.value, values[i]) << i;
        EXPECT_EQ(numbers[i].first.note.value_or(""), numbers[i].second);
    }
    EXPECT_EQ(ReadSplit("weekly").note, "split: found 'weekly', using 'none'");
    EXPECT_EQ(ReadSplit("SIZE").value, LogSplit::Size);
    EXPECT_EQ(ReadSync("always").note, "sync: found 'always', using 'record'");
    EXPECT_EQ(ReadSync("none").value, LogSync::None);
    EXPECT_EQ(ReadResume("maybe").note, "resume: found 'maybe', using 'false'");
    EXPECT_FALSE(ReadResume("Off").value);
}

TEST(LogTail, TheLastWholeRecordsSerialNumberPassingOverTornLinesHeadersAndOtherStamps) {
    const std::tuple<const char*, bool, std::optional<std::int32_t>> cases[] = {
        {"SN,Fan\r\n1,0.5\r\n2,0.25\r\n", true, 2},
        {"SN,Fan\r\n1,0.5\r\n2,0.25\r\n3,0.1", true, 2},  // torn by a power cut
        {"SN,Fan\r\n41,0.5\r\n42,0.", true, 41},          // torn inside its values
        {"SN,Fan\r\n", true, std::nullopt},               // only the header
        {"23,0.5\r\n124,1\r\n", false, 124},              // the tail of a longer file
        {"23,0.5\r\n", false, std::nullopt},              // only a cut line
        {"14:05:09,1\r\n-3,1\r\n", true, std::nullopt},   // time stamps, a sign
        {"7,1\n8,1\n", true, 8},                          // line feeds alone
        {"2147483648,1\r\n2147483647,1\r\n", true, 2147483647},
        {"5,1\r\n2147483648,1\r\n", true, 5}};  // too large for a number
    for (const auto& [tail, whole, number] : cases) {
        EXPECT_EQ(LastSerialNumber(tail, whole), number) << tail;
    }
}

}  // namespace
}  // namespace vantrel
