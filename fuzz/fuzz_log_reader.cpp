// Any bytes given as a log file, in pieces of any size, must read without a crash,
// count every line as read or not, and give the same history however they are cut:
// each group's columns and frames, and the same unreadable-line message, however
// the groups were reduced to share the file's memory budget. Derived channels are
// worked out over columns named A, B or ch2, so that path reads the same bytes too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "history/LogReader.h"

namespace {

struct Read {
    vantrel::history::HistoryDocument document;
    std::string problems;
};

Read ReadIn(std::string_view text, std::size_t piece) {
    // A budget this small reduces the groups at every change of columns.
    vantrel::history::LogReadOptions options{{}, {2026, 12, 6}, 64 * 1024};
    vantrel::history::LogDerived derived;
    derived.channelNames[0] = "A";
    derived.channelNames[1] = "B";
    derived.settings.channels = {{"d", "K", 2, "A - B", false}, {"q", "", 2, "d / ch2", false}};
    options.derived = derived;
    vantrel::history::LogReader reader(options);
    for (std::size_t at = 0; at < text.size(); at += piece) {
        reader.feed(text.substr(at, piece));
    }
    if (reader.unreadableCount() > reader.lineCount()) {
        std::abort();
    }
    std::string problems = reader.problemText();
    return {reader.finish(), std::move(problems)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The first byte chooses where the text is cut.
    const Read whole = ReadIn(text.substr(1), text.size());
    const Read cut = ReadIn(text.substr(1), 1 + data[0] % 7);
    if (whole.problems != cut.problems ||
        whole.document.groups.size() != cut.document.groups.size() ||
        whole.document.axis != cut.document.axis) {
        std::abort();
    }
    for (std::size_t g = 0; g < whole.document.groups.size(); ++g) {
        const auto& a = whole.document.groups[g];
        const auto& b = cut.document.groups[g];
        if (a.names != b.names || a.units != b.units || a.units.size() != a.names.size() ||
            a.series.appended() != b.series.appended() || a.series.lastX() != b.series.lastX() ||
            a.series.channels() != static_cast<int>(a.names.size())) {
            std::abort();
        }
    }
    return 0;
}
