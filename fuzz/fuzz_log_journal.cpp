// Any bytes left as the journal of waiting log records and events must read as
// whole lines under their files: each one CR LF-ended line that is not a file's
// line, and written back and read again, the same lines under the same files.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string>

#include "logging/LogJournal.h"
#include "settings/TextStyles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto files = vantrel::ParseJournal(text);
    std::string again;
    for (const vantrel::JournalFile& file : files) {
        for (const std::string& record : file.records) {
            if (record.size() < vantrel::kLineEnd.size() ||
                record.find(vantrel::kLineEnd) != record.size() - vantrel::kLineEnd.size() ||
                record.front() == '>' || record.front() == '!') {
                std::abort();
            }
        }
        if (file.target.find_first_of("\r\n") == std::string::npos) {
            again += vantrel::JournalText(
                file.target, std::deque<std::string>(file.records.begin(), file.records.end()), 0,
                true, file.events);
        }
    }
    std::size_t kept = 0;
    for (const vantrel::JournalFile& file : vantrel::ParseJournal(again)) {
        kept += file.records.size();
    }
    std::size_t expected = 0;
    for (const vantrel::JournalFile& file : files) {
        expected +=
            file.target.find_first_of("\r\n") == std::string::npos ? file.records.size() : 0;
    }
    if (kept != expected) {
        std::abort();
    }
    return 0;
}
