#include "settings/IniQuoting.h"

#include <algorithm>
#include <cctype>

namespace vantrel::ini {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

// The section a "[name]" line opens, as QSettings names it: [General] holds the
// keys before any section.
std::string SectionName(std::string_view line) {
    std::string_view name = line.substr(1, line.find(']') - 1);
    name = Trimmed(name);
    std::string lowered(name);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered == "general" ? std::string() : std::string(name);
}

void Note(std::vector<Problem>& problems, const std::string& section, std::string_view key,
          Problem::Kind kind) {
    const bool noted = std::any_of(problems.begin(), problems.end(), [&](const Problem& problem) {
        return problem.section == section && problem.key == key && problem.kind == kind;
    });
    if (!noted) {
        problems.push_back({.section = section, .key = std::string(key), .kind = kind});
    }
}

}  // namespace

std::vector<Problem> QuotingProblems(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    std::vector<Problem> problems;
    std::string section;
    std::size_t at = 0;
    const auto skipToLineEnd = [&] {
        while (at < text.size() && !IsLineEnd(text[at])) {
            ++at;
        }
    };
    while (at < text.size()) {
        if (IsBlank(text[at])) {
            ++at;
            continue;
        }
        if (text[at] == ';') {
            skipToLineEnd();
            continue;
        }
        // One line as QSettings reads it: to the first line end or ';' outside quotes.
        const std::size_t start = at;
        std::size_t equals = std::string_view::npos;
        bool quoted = false;
        bool ranOn = false;
        bool cut = false;
        for (; at < text.size(); ++at) {
            const char c = text[at];
            if (c == '\\') {
                // The escaped character, a line end too, belongs to the value.
                ++at;
            } else if (c == '"') {
                quoted = !quoted;
            } else if (c == '=' && !quoted && equals == std::string_view::npos) {
                equals = at;
            } else if (IsLineEnd(c)) {
                if (!quoted) {
                    break;
                }
                ranOn = true;
            } else if (c == ';' && !quoted) {
                cut = true;
                break;
            }
        }
        const std::size_t end = std::min(at, text.size());
        const std::string_view line = text.substr(start, end - start);
        if (cut) {
            skipToLineEnd();
        }
        if (line.starts_with('[')) {
            section = SectionName(line);
            continue;
        }
        // A line without '=' is named by its first line in the file.
        const std::string_view key = equals == std::string_view::npos
                                         ? Trimmed(line.substr(0, line.find_first_of("\r\n")))
                                         : Trimmed(line.substr(0, equals - start));
        if (ranOn) {
            Note(problems, section, key, Problem::Kind::UnclosedQuote);
        }
        // A key starting with '#' is a line the user commented out.
        if (cut && equals != std::string_view::npos && !key.starts_with('#') &&
            !IsBlank(text[end - 1])) {
            Note(problems, section, key, Problem::Kind::CutAtSemicolon);
        }
    }
    return problems;
}

}  // namespace vantrel::ini
