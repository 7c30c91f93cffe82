#pragma once

// The rules for reading preferences from vantrel.ini, without Qt: the app layer
// hands in the texts as the file holds them, and each section's reader turns them
// into plain values. A text that breaks a key's rule is replaced by the key's
// default and noted, so the user hears once what was found and what is used.

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

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
};
// "[mqtt] port: "99999" is not valid, 1883 is used instead.", "[mqtt] prot: no such
// setting, ignored. Did you mean port?"; control characters are shown escaped.
std::string ProblemText(const Problem& problem);
// All problems, one line each, under a line naming the file.
std::string ProblemsMessage(const std::vector<Problem>& problems);

// Control characters as \0, \t, \n, \r or \x1b, so that a NUL cannot end a
// message early and an escape sequence cannot garble a terminal.
std::string Escaped(std::string_view text);

// Notes each key of texts that known does not hold, with the name meant when just
// one known name is a letter away (one inserted, left out, replaced, or two
// neighbours swapped), letter case aside. Keys starting with '#' are lines the
// user commented out.
void NoteUnknownKeys(std::string_view section, const SectionTexts& texts,
                     const std::vector<std::string>& known, std::vector<Problem>& problems);
// Notes each section of file that known does not hold, and each key before any
// section (the "" section).
void NoteUnknownSections(const FileTexts& file, const FileTexts& known,
                         std::vector<Problem>& problems);

// How a yes/no preference is written: "true" or "false".
std::string FlagText(bool value);

class SectionReader {
  public:
    SectionReader(std::string_view section, const FileTexts& file, std::vector<Problem>& problems);

    // "true", "yes", "on", "1" and "false", "no", "off", "0", in any letter case.
    bool flag(std::string_view key, bool fallback);
    // A whole decimal number from lowest to highest.
    int number(std::string_view key, int lowest, int highest, int fallback);
    // Any text for which valid holds (every text when there is no rule).
    using TextRule = bool (*)(std::string_view);
    std::string text(std::string_view key, const std::string& fallback, TextRule valid = nullptr);
    // After the last key: notes every key of the section that nothing asked for.
    void noteUnknownKeys();

  private:
    const std::string* find(std::string_view key);
    void note(std::string_view key, const std::string& found, std::string used);

    std::string section_;
    const SectionTexts* texts_ = nullptr;
    std::set<std::string, std::less<>> asked_;
    std::vector<Problem>& problems_;
};

}  // namespace vantrel::ini
