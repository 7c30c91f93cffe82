// Any text as a [logging] value of vantrel.ini: every reader gives a value in its
// range, and the value it names as used reads back as that value with no note.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "logging/LoggingPreferences.h"

namespace {

// The text between "using '" and the last "'" of a note.
std::string UsedText(const std::string& note) {
    const std::size_t start = note.rfind(", using '") + 9;
    return note.substr(start, note.size() - 1 - start);
}

template <typename Reader>
void Check(Reader reader, std::string_view text) {
    const auto read = reader(text);
    if (read.note) {
        const auto again = reader(UsedText(*read.note));
        if (again.note || again.value != read.value) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Check(vantrel::ReadSplit, text);
    Check(vantrel::ReadSync, text);
    Check(vantrel::ReadResume, text);
    Check(vantrel::ReadSplitSizeKb, text);
    Check(vantrel::ReadSyncIntervalS, text);
    Check(vantrel::ReadLowSpaceMb, text);
    const auto sizeKb = vantrel::ReadSplitSizeKb(text).value;
    const auto interval = vantrel::ReadSyncIntervalS(text).value;
    const auto low = vantrel::ReadLowSpaceMb(text).value;
    if (sizeKb < 1 || interval < 1 || interval > 86400 || low < 0) {
        std::abort();
    }
    return 0;
}
