#pragma once

// The rules for reading preferences from vantrel.ini, without Qt: the app layer
// hands in the texts as the file holds them, and each section's reader turns them
// into plain values by the table's rows (settings/IniKeys.h). A text that breaks
// a key's rule is replaced (by the nearest bound or the default) and noted, so
// the user hears once what was found and what is used.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/AcquisitionState.h"
#include "settings/IniKeys.h"

namespace vantrel::ini {

inline constexpr const char* kPreferencesFile = "vantrel.ini";

// One section's texts by key, and the whole file by section.
using SectionTexts = std::map<std::string, std::string, std::less<>>;
using FileTexts = std::map<std::string, SectionTexts, std::less<>>;

// Something in the file that is not used as it stands: a text that breaks its
// key's rule, a name no setting or section has (a misspelt one), or a value that
// the file's quoting reads other than it looks.
struct Problem {
    enum class Kind {
        BadValue,
        UnknownKey,
        UnknownSection,
        // An unquoted ';' starts a comment, even inside a password.
        CutAtSemicolon,
        // A '"' opens a quoted text that runs on over the following lines.
        UnclosedQuote,
    };
    // Empty: before any section.
    std::string section{};
    std::string key{};
    std::string found{};
    std::string used{};
    Kind kind = Kind::BadValue;
    // The name meant, as the message gives it ("split", "[logging]").
    std::string nearest{};
    // What is wrong with a value whose rule has several parts ("8O is not a number").
    std::string why{};
};
// "[mqtt] port: "12a" is not valid, 1883 is used instead.", "[alarms] rule3: "CH3
// above 8O" is not valid (8O is not a number), nothing is used instead.", "[mqtt]
// prot: no such setting, ignored. Did you mean port?"; control characters are
// shown escaped.
std::string ProblemText(const Problem& problem);
// All problems, one line each, under a line naming the file.
std::string ProblemsMessage(const std::vector<Problem>& problems);

// Control characters as \0, \t, \n, \r or \x1b, so that a NUL cannot end a
// message early and an escape sequence cannot garble a terminal.
std::string Escaped(std::string_view text);

// Notes each section of file that the table does not hold, and each key before
// any section (the "" section), with the name meant as for a key.
void NoteUnknownSections(const FileTexts& file, std::vector<Problem>& problems);

// How a yes/no preference is written: "true" or "false".
std::string FlagText(bool value);

// One section's keys by the table, each by one rule: blanks around a flag, number
// or word are slips and dropped; a flag or word in any letter case; a number out
// of its range gives the nearest bound, any other text the fallback (the key's
// default, or the section's); each value not used as it stands is noted with the
// text found and the value used.
class SectionReader {
  public:
    SectionReader(std::string_view section, const FileTexts& file, std::vector<Problem>& problems);

    bool flag(const Key& key, bool fallback);
    std::int64_t number(const Key& key, std::int64_t fallback);
    // The word's place in the key's words.
    std::size_t word(const Key& key, std::size_t fallback);
    // Any text for which valid holds (every text when there is no rule), as it stands.
    using TextRule = bool (*)(std::string_view);
    std::string text(const Key& key, const std::string& fallback, TextRule valid = nullptr);
    // A numbered or per-channel key's texts by name ("rule2", "rule10"; "ch2_unit"), in
    // number order.
    std::vector<std::pair<std::string, std::string>> numbered(const Key& key) const;
    // A per-channel key's texts by channel, empty where the file has none.
    std::array<std::string, kUsedChannels> perChannel(const Key& key) const;
    // Notes a text that its section's own rule refused, saying why and what is used.
    void refuse(std::string_view name, const std::string& found, std::string used, std::string why);
    // Notes every key of the section that the table does not hold, with the name
    // meant when just one known name is a letter away (one inserted, left out,
    // replaced, or two neighbours swapped), letter case aside. Keys starting with
    // '#' are lines the user commented out.
    void noteUnknownKeys();

  private:
    const std::string* find(const Key& key) const;
    void note(const Key& key, const std::string& found, std::string used);

    std::string section_;
    const SectionTexts* texts_ = nullptr;
    std::vector<Problem>& problems_;
};

}  // namespace vantrel::ini
