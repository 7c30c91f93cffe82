#pragma once

// Log records that wait for their file live in a small journal in the start folder
// as well as in memory, so that a program that is killed, loses its display or
// loses power leaves them behind for the next start instead of losing them.
//
// The journal is text: a line ">" followed by the log file's path starts the
// records of that file, and each record follows as it would stand in the log, with
// its CR LF. Events waiting for an events file are kept the same way under a line
// "!" followed by that file's path. A record never begins with ">" or "!", nor
// does an event, whose line begins with its time.

#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

inline constexpr const char* kLogJournalFile = "vantrel.journal";

struct JournalFile {
    std::string target;                // the log file the records were meant for
    std::vector<std::string> records;  // each with its CR LF, oldest first
    // The lines are events and target the events file they were meant for.
    bool events = false;
};

// The records of each log file, in the order the journal holds them. A last line
// without its CR LF was cut short by the end of the program and is left out.
std::vector<JournalFile> ParseJournal(std::string_view text);

// The journal text for the records (or events) of one file from index from on;
// without startsFile, the records go on after that file's line.
std::string JournalText(const std::string& target, const std::deque<std::string>& records,
                        std::size_t from = 0, bool startsFile = true, bool events = false);

class LogJournal {
  public:
    explicit LogJournal(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }
    // What the journal holds (up to a limit far beyond a day of records); false
    // when there is no journal.
    bool read(std::string& text) const;
    // Adds text and hands it to the disk before returning. False when it failed.
    bool append(std::string_view text);
    // The journal holds exactly text from now on; written whole or not at all.
    bool replace(std::string_view text);
    // Nothing waits any more.
    void remove();

  private:
    std::string path_;
};

}  // namespace vantrel
