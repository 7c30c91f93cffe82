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
    const std::string why = problem.why.empty() ? "" : " (" + Escaped(problem.why) + ")";
    return Subject(problem) + ": \"" + Escaped(problem.found) + "\" is not valid" + why + ", " +
           (problem.used.empty() ? "nothing" : Escaped(problem.used)) + " is used instead.";
}

bool IsKnownKey(std::string_view section, std::string_view name) {
    return std::any_of(kKeys.begin(), kKeys.end(), [&](const Key& key) {
        return key.section == section && IsNameOf(key, name);
    });
}

// The name of a key as the one typed would have been meant: a numbered key's
// name takes the typed number ("rul3" means rule3), or N when none was typed.
std::string MeantName(const Key& key, std::string_view typed) {
    if (key.perChannel) {
        // "ch3_scal" means ch3_scale; a channel the cards do not have means none.
        const std::string typedChannel =
            std::string(typed.substr(0, typed.find('_'))) + "_" + std::string(key.name);
        return IsNameOf(key, typedChannel) ? typedChannel : "chN_" + std::string(key.name);
    }
    if (!key.numbered) {
        return std::string(key.name);
    }
    const std::size_t digits = typed.find_last_not_of("0123456789") + 1;
    const std::size_t significant = typed.find_first_not_of('0', digits);
    const std::string_view number =
        significant == std::string_view::npos ? "N" : typed.substr(significant);
    return std::string(key.name) + std::string(number);
}

// The names of a section's keys (every section's when section is nothing), as the
// message gives them, for the key typed.
std::vector<std::string> MeantNames(std::optional<std::string_view> section,
                                    std::string_view typed) {
    std::vector<std::string> names;
    for (const Key& key : kKeys) {
        if (!section) {
            names.push_back("[" + std::string(key.section) + "] " + MeantName(key, typed));
        } else if (key.section == *section) {
            names.push_back(MeantName(key, typed));
        }
    }
    return names;
}

// Without the section, for comparing with the key typed.
std::vector<std::string> BareNames(const std::vector<std::string>& names) {
    std::vector<std::string> bare;
    for (const std::string& name : names) {
        bare.push_back(name.starts_with('[') ? name.substr(name.find("] ") + 2) : name);
    }
    return bare;
}

void NoteUnknownKeys(std::string_view section, const SectionTexts& texts,
                     std::vector<Problem>& problems) {
    for (const auto& [key, text] : texts) {
        if (IsCommentedOut(key) || IsKnownKey(section, key)) {
            continue;
        }
        const std::vector<std::string> known = MeantNames(section, key);
        const std::optional<std::size_t> nearest = NearestIndex(key, known);
        problems.push_back({.section = std::string(section),
                            .key = key,
                            .found = text,
                            .kind = Problem::Kind::UnknownKey,
                            .nearest = nearest ? known[*nearest] : ""});
    }
}

std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
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

void NoteUnknownSections(const FileTexts& file, std::vector<Problem>& problems) {
    std::vector<std::string> sections;
    for (const Key& key : kKeys) {
        if (std::find(sections.begin(), sections.end(), key.section) == sections.end()) {
            sections.emplace_back(key.section);
        }
    }
    for (const auto& [section, texts] : file) {
        if (section.empty()) {
            for (const auto& [key, text] : texts) {
                if (IsCommentedOut(key)) {
                    continue;
                }
                // A key before any section is most likely a section's key put too high
                // up, so it is matched against the keys of all sections.
                const std::vector<std::string> placedKeys = MeantNames(std::nullopt, key);
                const std::optional<std::size_t> nearest = NearestIndex(key, BareNames(placedKeys));
                problems.push_back({.key = key,
                                    .found = text,
                                    .kind = Problem::Kind::UnknownKey,
                                    .nearest = nearest ? placedKeys[*nearest] : ""});
            }
        } else if (std::find(sections.begin(), sections.end(), section) == sections.end()) {
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
    return std::string(value ? kYesWords[0] : kNoWords[0]);
}

SectionReader::SectionReader(std::string_view section, const FileTexts& file,
                             std::vector<Problem>& problems)
    : section_(section), problems_(problems) {
    if (const auto found = file.find(section); found != file.end()) {
        texts_ = &found->second;
    }
}

const std::string* SectionReader::find(const Key& key) const {
    if (texts_ == nullptr) {
        return nullptr;
    }
    const auto found = texts_->find(key.name);
    return found == texts_->end() ? nullptr : &found->second;
}

void SectionReader::note(const Key& key, const std::string& found, std::string used) {
    problems_.push_back({section_, std::string(key.name), found, std::move(used)});
}

bool SectionReader::flag(const Key& key, bool fallback) {
    const std::string* text = find(key);
    if (text == nullptr) {
        return fallback;
    }
    const std::string word = Lowered(Trimmed(*text));
    if (std::find(kYesWords.begin(), kYesWords.end(), word) != kYesWords.end()) {
        return true;
    }
    if (std::find(kNoWords.begin(), kNoWords.end(), word) != kNoWords.end()) {
        return false;
    }
    note(key, *text, FlagText(fallback));
    return fallback;
}

std::int64_t SectionReader::number(const Key& key, std::int64_t fallback) {
    const std::string* found = find(key);
    if (found == nullptr) {
        return fallback;
    }
    const std::string_view text = Trimmed(*found);
    const bool plus = text.starts_with('+') && !text.starts_with("+-");
    const char* end = text.data() + text.size();
    std::int64_t value = 0;
    const auto [stop, error] = std::from_chars(text.data() + (plus ? 1 : 0), end, value);
    if (text.empty() || stop != end || error == std::errc::invalid_argument) {
        note(key, *found, std::to_string(fallback));
        return fallback;
    }
    // Too many digits for the type is far out of range all the same.
    const bool tooLong = error == std::errc::result_out_of_range;
    if (tooLong) {
        value = text.starts_with('-') ? key.lowest : key.highest;
    }
    const std::int64_t used = std::clamp(value, key.lowest, key.highest);
    if (used != value || tooLong) {
        note(key, *found, std::to_string(used));
    }
    return used;
}

std::size_t SectionReader::word(const Key& key, std::size_t fallback) {
    const std::string* text = find(key);
    if (text == nullptr) {
        return fallback;
    }
    const std::string word = Lowered(Trimmed(*text));
    for (std::size_t index = 0; index < key.wordCount; ++index) {
        if (word == key.words[index]) {
            return index;
        }
    }
    note(key, *text, std::string(WordOf(key, fallback)));
    return fallback;
}

std::string SectionReader::text(const Key& key, const std::string& fallback, TextRule valid) {
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

std::vector<std::pair<std::string, std::string>> SectionReader::numbered(const Key& key) const {
    std::vector<std::pair<std::string, std::string>> found;
    if (texts_ != nullptr) {
        for (const auto& [name, text] : *texts_) {
            if (IsNameOf(key, name)) {
                found.emplace_back(name, text);
            }
        }
    }
    // Numbers without leading zeros: the shorter is the smaller.
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return a.first.size() != b.first.size() ? a.first.size() < b.first.size()
                                                : a.first < b.first;
    });
    return found;
}

std::array<std::string, kUsedChannels> SectionReader::perChannel(const Key& key) const {
    std::array<std::string, kUsedChannels> texts;
    for (int channel = 0; channel < kUsedChannels; ++channel) {
        if (texts_ == nullptr) {
            break;
        }
        if (const auto found = texts_->find(ChannelKeyName(key, channel)); found != texts_->end()) {
            texts[static_cast<std::size_t>(channel)] = found->second;
        }
    }
    return texts;
}

void SectionReader::refuse(std::string_view name, const std::string& found, std::string used,
                           std::string why) {
    problems_.push_back({.section = section_,
                         .key = std::string(name),
                         .found = found,
                         .used = std::move(used),
                         .why = std::move(why)});
}

void SectionReader::noteUnknownKeys() {
    if (texts_ != nullptr) {
        NoteUnknownKeys(section_, *texts_, problems_);
    }
}

}  // namespace vantrel::ini
