#include "settings/IniValues.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <optional>

namespace vantrel::ini {

namespace {

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

// One edit apart or less, as the user would type a name: two neighbours swapped
// count as one slip, like a letter left out.
bool WithinOneEdit(std::string_view a, std::string_view b) {
    if (a.size() < b.size()) {
        std::swap(a, b);
    }
    if (a.size() - b.size() > 1) {
        return false;
    }
    const std::size_t i =
        static_cast<std::size_t>(std::mismatch(b.begin(), b.end(), a.begin()).first - b.begin());
    if (i == b.size()) {
        return true;
    }
    if (a.size() != b.size()) {
        return a.substr(i + 1) == b.substr(i);
    }
    const bool swapped = i + 1 < a.size() && a[i] == b[i + 1] && a[i + 1] == b[i] &&
                         a.substr(i + 2) == b.substr(i + 2);
    return swapped || a.substr(i + 1) == b.substr(i + 1);
}

std::optional<std::size_t> NearestIndex(std::string_view name,
                                        const std::vector<std::string>& known) {
    const std::string lowered = Lowered(name);
    std::optional<std::size_t> nearest;
    for (std::size_t index = 0; index < known.size(); ++index) {
        if (WithinOneEdit(lowered, Lowered(known[index]))) {
            if (nearest) {
                return std::nullopt;
            }
            nearest = index;
        }
    }
    return nearest;
}

bool IsCommentedOut(std::string_view key) {
    return key.starts_with('#');
}

std::string Subject(const Problem& problem) {
    const std::string key = Escaped(problem.key);
    return problem.section.empty() ? key : "[" + Escaped(problem.section) + "] " + key;
}

std::string Saying(const Problem& problem) {
    using Kind = Problem::Kind;
    switch (problem.kind) {
        case Kind::UnknownKey:
            return Subject(problem) + (problem.section.empty()
                                           ? ": a key before any section, ignored."
                                           : ": no such setting, ignored.");
        case Kind::UnknownSection:
            return "[" + Escaped(problem.section) + "]: no such section, ignored.";
        case Kind::CutAtSemicolon:
            return Subject(problem) +
                   ": the value ends at a ';', which starts a comment; put the whole value in "
                   "double quotes to keep the ';' and what follows it.";
        case Kind::UnclosedQuote:
            return Subject(problem) +
                   ": a '\"' in the value is not closed on its line, so the lines after it are "
                   "read into the value; write \\\" for a quote mark inside a value.";
        case Kind::BadValue:
            break;
    }
    return Subject(problem) + ": \"" + Escaped(problem.found) + "\" is not valid, " +
           (problem.used.empty() ? "nothing" : Escaped(problem.used)) + " is used instead.";
}

}  // namespace

std::string Escaped(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            escaped += c;
            continue;
        }
        switch (c) {
            case '\0':
                escaped += "\\0";
                break;
            case '\t':
                escaped += "\\t";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default: {
                static constexpr char kHex[] = "0123456789abcdef";
                escaped += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xF]};
            }
        }
    }
    return escaped;
}

void NoteUnknownKeys(std::string_view section, const SectionTexts& texts,
                     const std::vector<std::string>& known, std::vector<Problem>& problems) {
    for (const auto& [key, text] : texts) {
        if (IsCommentedOut(key) || std::find(known.begin(), known.end(), key) != known.end()) {
            continue;
        }
        const std::optional<std::size_t> nearest = NearestIndex(key, known);
        problems.push_back({.section = std::string(section),
                            .key = key,
                            .found = text,
                            .kind = Problem::Kind::UnknownKey,
                            .nearest = nearest ? known[*nearest] : ""});
    }
}

void NoteUnknownSections(const FileTexts& file, const FileTexts& known,
                         std::vector<Problem>& problems) {
    std::vector<std::string> sections;
    // A key before any section is most likely a section's key put too high up, so
    // it is matched against the keys of all sections.
    std::vector<std::string> keys;
    std::vector<std::string> placedKeys;
    for (const auto& [section, texts] : known) {
        sections.push_back(section);
        for (const auto& [key, text] : texts) {
            keys.push_back(key);
            placedKeys.push_back("[" + section + "] " + key);
        }
    }
    for (const auto& [section, texts] : file) {
        if (section.empty()) {
            for (const auto& [key, text] : texts) {
                if (IsCommentedOut(key)) {
                    continue;
                }
                const std::optional<std::size_t> nearest = NearestIndex(key, keys);
                problems.push_back({.key = key,
                                    .found = text,
                                    .kind = Problem::Kind::UnknownKey,
                                    .nearest = nearest ? placedKeys[*nearest] : ""});
            }
        } else if (!known.contains(section)) {
            const std::optional<std::size_t> nearest = NearestIndex(section, sections);
            problems.push_back({.section = section,
                                .kind = Problem::Kind::UnknownSection,
                                .nearest = nearest ? "[" + sections[*nearest] + "]" : ""});
        }
    }
}

std::string ProblemText(const Problem& problem) {
    const std::string saying = Saying(problem);
    return problem.nearest.empty() ? saying : saying + " Did you mean " + problem.nearest + "?";
}

std::string ProblemsMessage(const std::vector<Problem>& problems) {
    std::string message = std::string(kPreferencesFile) + " holds values that cannot be used:";
    for (const Problem& problem : problems) {
        message += "\n" + ProblemText(problem);
    }
    return message;
}

std::string FlagText(bool value) {
    return value ? "true" : "false";
}

SectionReader::SectionReader(std::string_view section, const FileTexts& file,
                             std::vector<Problem>& problems)
    : section_(section), problems_(problems) {
    if (const auto found = file.find(section); found != file.end()) {
        texts_ = &found->second;
    }
}

const std::string* SectionReader::find(std::string_view key) {
    asked_.emplace(key);
    if (texts_ == nullptr) {
        return nullptr;
    }
    const auto found = texts_->find(key);
    return found == texts_->end() ? nullptr : &found->second;
}

void SectionReader::note(std::string_view key, const std::string& found, std::string used) {
    problems_.push_back({section_, std::string(key), found, std::move(used)});
}

bool SectionReader::flag(std::string_view key, bool fallback) {
    const std::string* text = find(key);
    if (text == nullptr) {
        return fallback;
    }
    static constexpr std::array<std::string_view, 4> kYes = {"true", "yes", "on", "1"};
    static constexpr std::array<std::string_view, 4> kNo = {"false", "no", "off", "0"};
    const std::string word = Lowered(*text);
    if (std::find(kYes.begin(), kYes.end(), word) != kYes.end()) {
        return true;
    }
    if (std::find(kNo.begin(), kNo.end(), word) != kNo.end()) {
        return false;
    }
    note(key, *text, FlagText(fallback));
    return fallback;
}

int SectionReader::number(std::string_view key, int lowest, int highest, int fallback) {
    const std::string* text = find(key);
    if (text == nullptr) {
        return fallback;
    }
    int value = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, value);
    if (text->empty() || error != std::errc() || stop != end || value < lowest || value > highest) {
        note(key, *text, std::to_string(fallback));
        return fallback;
    }
    return value;
}

void SectionReader::noteUnknownKeys() {
    if (texts_ != nullptr) {
        NoteUnknownKeys(section_, *texts_, {asked_.begin(), asked_.end()}, problems_);
    }
}

std::string SectionReader::text(std::string_view key, const std::string& fallback, TextRule valid) {
    const std::string* text = find(key);
    if (text == nullptr) {
        return fallback;
    }
    if (valid != nullptr && !valid(*text)) {
        note(key, *text, fallback.empty() ? std::string() : "\"" + fallback + "\"");
        return fallback;
    }
    return *text;
}

}  // namespace vantrel::ini
