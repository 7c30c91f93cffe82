#pragma once

// Reads a log file the data logger wrote, in pieces of any size, into a history:
// every separator and stamp style, with or without the header line. Records whose
// column count changes (the marks changed while logging) go into a group of their
// own, so columns never slide under the wrong name. Memory stays within one budget
// for the file however long it is and however many groups it has: the series reduce
// older records as they grow, and a new group first has the older ones reduced.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "derived/DerivedProgram.h"
#include "history/HistoryDocument.h"
#include "history/LogLine.h"
#include "platform/Clock.h"

namespace vantrel::history {

// The derived channels of the program, to be worked out again over a log.
struct LogDerived {
    derived::DerivedSettings settings;
    // The names of slots 0..15, as the state holds them.
    std::array<std::string, kUsedChannels> channelNames{};
};

// Half of it keeps a single group of sixteen channels whole for about 900,000
// records, ten days at one a second.
inline constexpr std::size_t kLogMemoryBudget = 128u << 20;

struct LogReadOptions {
    // UTC milliseconds of a local time as the log writes it (no offset); the
    // default takes it as UTC.
    std::function<std::int64_t(const platform::DateTime&)> localToUtc;
    // The day of the first record stamped with the time only; later ones move to the
    // next day each time the time goes backwards.
    platform::DateTime firstDay;
    // Bytes that the history of the whole file may hold (by memoryBytes), shared by
    // all its groups.
    std::size_t memoryBudget = kLogMemoryBudget;
    // Each derived channel the log does not hold is added to every group whose
    // columns name all the channels it needs: a column is slot N when its name is
    // the name of slot N, or "chN".
    std::optional<LogDerived> derived{};
};

class LogReader {
  public:
    explicit LogReader(LogReadOptions options = {});

    void feed(std::string_view bytes);
    // Takes in the record held back to see whether the next one counts on from its
    // leading number, as the end of the file would; a line without its line end
    // still waits for the rest.
    void settle() { settlePending(nullptr); }
    // The history read so far.
    const HistoryDocument& document() const { return document_; }
    // The history read. A last line without its line end is still being written
    // and is left out.
    HistoryDocument finish();

    std::uint64_t lineCount() const { return lineNumber_; }
    std::uint64_t unreadableCount() const { return unreadable_; }
    // "3 lines could not be read: line 17, 18, 240"; empty when every line was read.
    std::string problemText() const;

  private:
    struct Pending {
        std::uint64_t line = 0;
        RecordLine record;
        std::string text;
    };

    void takeLine(std::string_view line);
    void takeHeader(std::string_view names, StampStyle stamp);
    void takeRecord(RecordLine record, std::string_view text);
    void settlePending(const RecordLine* next);
    void addRecord(RecordLine& record, std::string_view text, std::uint64_t line);
    std::int64_t xOf(const RecordLine& record);
    HistoryGroup* groupFor(const RecordLine& record, std::string_view text);
    void enterGroup(int group);
    void unreadable(std::uint64_t line);
    // The derived columns a new group of these read columns gets, by their names;
    // appended to its names and units.
    void planDerived(std::vector<std::string>& names, std::vector<std::string>& units);
    // record.values with the group's derived columns after them.
    const float* withDerived(std::size_t group, const std::vector<float>& values);

    // How the derived channels are worked out over one group's records.
    struct DerivedColumns {
        std::size_t readColumns = 0;
        std::vector<std::pair<std::size_t, int>> slotOf;  // read column, slot
        std::vector<std::size_t> channels;                // places in the settings
    };

    LogReadOptions options_;
    HistoryDocument document_;
    bool axisChosen_ = false;

    std::string carry_;      // the part of a line that has no end yet
    bool overlong_ = false;  // dropping a line too long to be a log's
    std::uint64_t lineNumber_ = 0;
    std::uint64_t unreadable_ = 0;
    std::vector<std::uint64_t> unreadableLines_;  // the first few

    // The header in force: its stamp and its channel names, not yet split.
    std::optional<StampStyle> headerStamp_;
    std::string headerNames_;
    // Whether a leading whole number in a record without header is a serial number;
    // unknown until two records show whether it counts up.
    std::optional<bool> serial_;
    std::optional<Pending> pending_;

    derived::DerivedProgram program_;
    std::vector<DerivedColumns> derivedColumns_;  // one per group
    std::vector<float> row_;

    int current_ = -1;  // the group records go to
    std::int64_t records_ = 0;
    int day_ = 0;
    int lastSecondOfDay_ = -1;
};

}  // namespace vantrel::history
