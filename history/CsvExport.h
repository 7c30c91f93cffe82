#pragma once

// The shown channels over a range as plain CSV (RFC 4180) that spreadsheets and
// data-frame libraries read without options: a `time` column, then one column per
// channel; one row per frame, both rows (minimum, then maximum) of a bucket where
// only buckets are left.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "history/ColumnHeading.h"
#include "history/HistoryDocument.h"
#include "logging/LogFormat.h"
#include "settings/AtomicFile.h"

namespace vantrel::history {

struct ExportColumn {
    int group = 0;
    int column = 0;
    std::string name;
    // Empty: none.
    std::string unit{};
};

// The UTC offset in minutes in force at a moment (milliseconds since 1970, UTC).
using UtcOffsetAt = std::function<int(std::int64_t utcMilliseconds)>;

// An event for the export: its x and what it says.
struct ExportEvent {
    std::int64_t x = 0;
    std::string text;
};

// A header of `time` and each column as NameWithUnit gives it; then rows of every
// item in [x0, x1], in x order across the groups; a row leaves the
// columns of the other groups empty, and so does a value that is not a number.
// Times as "2026-12-06T14:05:09.250+01:00" in local time, record numbers as they
// are; values as the log writes them. Lines end in CR LF. The text goes to put a
// piece of many rows at a time, as WriteFileAtomically takes it; false when put
// refused a piece. With events (in x order) a last column `event` is added: each
// event a row of its own with the values empty, before the values of its moment.
bool WriteCsv(const PutPiece& put, const HistoryDocument& document,
              const std::vector<ExportColumn>& columns, std::int64_t x0, std::int64_t x1,
              const UtcOffsetAt& offsetAt, const std::vector<ExportEvent>* events = nullptr);

}  // namespace vantrel::history
