#include "history/CsvExport.h"

#include <map>
#include <optional>

#include "logging/ValueText.h"
#include "platform/DateTimeText.h"
#include "settings/TextStyles.h"

namespace vantrel::history {

namespace {

// Rows handed over at once: few writes, little memory for a range of millions.
constexpr std::size_t kPieceBytes = 64 * 1024;

// Walks the items of one group over the range, oldest first.
struct GroupCursor {
    int group = 0;
    std::vector<Piece> pieces;
    std::size_t piece = 0;
    std::size_t index = 0;

    bool done() const { return piece == pieces.size(); }
    void start() { index = done() ? 0 : pieces[piece].begin; }
    void next() {
        if (++index == pieces[piece].end) {
            ++piece;
            start();
        }
    }
};

std::string XText(const HistoryDocument& document, std::int64_t x, const UtcOffsetAt& offsetAt) {
    if (document.axis == Axis::RecordNumber) {
        return std::to_string(x);
    }
    return platform::IsoLocalText(platform::LocalDateTime(x, offsetAt(x)));
}

}  // namespace

bool WriteCsv(const PutPiece& put, const HistoryDocument& document,
              const std::vector<ExportColumn>& columns, std::int64_t x0, std::int64_t x1,
              const UtcOffsetAt& offsetAt, const std::vector<ExportEvent>* events) {
    std::string out = "time";
    for (const ExportColumn& column : columns) {
        out += ',';
        out += CsvField(NameWithUnit(column.name, column.unit));
    }
    if (events != nullptr) {
        out += ",event";
    }
    out += kLineEnd;
    // The events up to x, each a row of its own.
    std::size_t nextEvent = 0;
    const auto eventsUpTo = [&](std::optional<std::int64_t> x) {
        for (; events != nullptr && nextEvent < events->size(); ++nextEvent) {
            const ExportEvent& event = (*events)[nextEvent];
            if (x && event.x > *x) {
                break;
            }
            if (event.x < x0 || event.x > x1) {
                continue;
            }
            out += XText(document, event.x, offsetAt);
            out.append(columns.size() + 1, ',');
            out += CsvField(event.text);
            out += kLineEnd;
        }
    };

    std::map<int, GroupCursor> cursors;
    for (const ExportColumn& column : columns) {
        if (column.group < 0 || static_cast<std::size_t>(column.group) >= document.groups.size() ||
            cursors.contains(column.group)) {
            continue;
        }
        GroupCursor cursor;
        cursor.group = column.group;
        cursor.pieces =
            document.groups[static_cast<std::size_t>(column.group)].series.pieces(0, x0, x1);
        cursor.start();
        cursors.emplace(column.group, std::move(cursor));
    }
    while (true) {
        GroupCursor* oldest = nullptr;
        std::int64_t oldestX = 0;
        for (auto& [group, cursor] : cursors) {
            if (cursor.done()) {
                continue;
            }
            const ReducingSeries& series = document.groups[static_cast<std::size_t>(group)].series;
            const std::int64_t x =
                series.itemFirst(cursor.pieces[cursor.piece].level, cursor.index);
            if (oldest == nullptr || x < oldestX) {
                oldest = &cursor;
                oldestX = x;
            }
        }
        if (oldest == nullptr) {
            eventsUpTo(std::nullopt);
            return put(out);
        }
        if (out.size() >= kPieceBytes) {
            if (!put(out)) {
                return false;
            }
            out.clear();
        }
        const ReducingSeries& series =
            document.groups[static_cast<std::size_t>(oldest->group)].series;
        const int level = oldest->pieces[oldest->piece].level;
        eventsUpTo(oldestX);
        const std::string time = XText(document, oldestX, offsetAt);
        // A bucket gives its minimum and its maximum, a frame its value once.
        for (int row = 0; row < (level == 0 ? 1 : 2); ++row) {
            out += time;
            for (const ExportColumn& column : columns) {
                out += ',';
                if (column.group != oldest->group || column.column < 0 ||
                    column.column >= series.channels()) {
                    continue;
                }
                const ChannelStat stat = series.stat(level, oldest->index, column.column);
                if (stat.count > 0) {
                    out += ValueText(row == 0 ? stat.min : stat.max);
                }
            }
            if (events != nullptr) {
                out += ',';
            }
            out += kLineEnd;
        }
        oldest->next();
    }
}

}  // namespace vantrel::history
