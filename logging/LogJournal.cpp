#include "logging/LogJournal.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "settings/AppPaths.h"
#include "settings/AtomicFile.h"
#include "settings/TextStyles.h"

namespace vantrel {

namespace {

constexpr char kTargetMark = '>';
constexpr char kEventsTargetMark = '!';

}  // namespace

std::vector<JournalFile> ParseJournal(std::string_view text) {
    std::vector<JournalFile> files;
    std::size_t begin = 0;
    for (std::size_t end = text.find(kLineEnd); end != std::string_view::npos;
         begin = end + kLineEnd.size(), end = text.find(kLineEnd, begin)) {
        const std::string_view line = text.substr(begin, end - begin);
        if (!line.empty() && (line.front() == kTargetMark || line.front() == kEventsTargetMark)) {
            const std::string target(line.substr(1));
            const bool events = line.front() == kEventsTargetMark;
            const auto same = std::ranges::find_if(files, [&](const JournalFile& file) {
                return file.target == target && file.events == events;
            });
            // The file's records go on where they were, in order.
            if (same != files.end()) {
                std::rotate(same, same + 1, files.end());
            } else {
                files.push_back({target, {}, events});
            }
            continue;
        }
        // Records before any file's line still belong somewhere.
        if (files.empty()) {
            files.push_back({});
        }
        files.back().records.emplace_back(text.substr(begin, end + kLineEnd.size() - begin));
    }
    std::erase_if(files, [](const JournalFile& file) { return file.records.empty(); });
    return files;
}

std::string JournalText(const std::string& target, const std::deque<std::string>& records,
                        std::size_t from, bool startsFile, bool events) {
    std::string text;
    if (startsFile) {
        text += events ? kEventsTargetMark : kTargetMark;
        // A line break inside the path would split its line; the path only names
        // the recovery file, so a stand-in character does no harm.
        for (const char c : target) {
            text += (c == '\r' || c == '\n') ? '?' : c;
        }
        text += kLineEnd;
    }
    for (std::size_t i = from; i < records.size(); ++i) {
        text += records[i];
    }
    return text;
}

bool LogJournal::read(std::string& text) const {
    // Far more than the records a day of failing files leaves.
    constexpr std::size_t kMaxJournalBytes = std::size_t{256} << 20;
    std::ifstream in(NativePath(path_), std::ios::binary);
    if (!in) {
        return false;
    }
    text.clear();
    char buffer[65536];
    while (in && text.size() < kMaxJournalBytes) {
        in.read(buffer, sizeof buffer);
        text.append(buffer, static_cast<std::size_t>(in.gcount()));
    }
    return true;
}

bool LogJournal::append(std::string_view text) {
#ifdef _WIN32
    std::FILE* file = _wfopen(NativePath(path_).c_str(), L"ab");
#else
    std::FILE* file = std::fopen(NativePath(path_).c_str(), "ab");
#endif
    if (file == nullptr) {
        return false;
    }
    bool written =
        std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
#ifndef _WIN32
    // Past the program's end the records must also outlast a loss of power.
    written = written && ::fsync(::fileno(file)) == 0;
#endif
    return std::fclose(file) == 0 && written;
}

bool LogJournal::replace(std::string_view text) {
    return !WriteFileAtomically(path_, text);
}

void LogJournal::remove() {
    std::error_code ignored;
    std::filesystem::remove(NativePath(path_), ignored);
}

}  // namespace vantrel
