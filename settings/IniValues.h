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

// A key whose text was not used: one that breaks its rule, or one that no setting
// has (a misspelt name).
struct Problem {
    std::string section;
    std::string key;
    std::string found;
    std::string used;
    bool unknownKey = false;
};
// "[mqtt] port: "99999" is not valid, 1883 is used instead.", "[mqtt] prot: no such
// setting, ignored."
std::string ProblemText(const Problem& problem);
// All problems, one line each, under a line naming the file.
std::string ProblemsMessage(const std::vector<Problem>& problems);

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
