#include "settings/IniValues.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace vantrel::ini {

namespace {

std::string Lowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lowered;
}

}  // namespace

std::string ProblemText(const Problem& problem) {
    if (problem.unknownKey) {
        return "[" + problem.section + "] " + problem.key + ": no such setting, ignored.";
    }
    return "[" + problem.section + "] " + problem.key + ": \"" + problem.found +
           "\" is not valid, " + (problem.used.empty() ? "nothing" : problem.used) +
           " is used instead.";
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
    if (texts_ == nullptr) {
        return;
    }
    for (const auto& [key, text] : *texts_) {
        if (!asked_.contains(key)) {
            problems_.push_back({section_, key, text, {}, true});
        }
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
