#include "app/PortChoice.h"

#include <cctype>

namespace vantrel {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool startsWithCom(std::string_view text) {
    if (text.size() < 3) {
        return false;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != "COM"[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<int> ParsePortChoice(std::string_view text) {
    text = trim(text);
    if (startsWithCom(text)) {
        text = trim(text.substr(3));
    }
    // At most three digits: 1..255 fits, and longer texts cannot overflow.
    if (text.empty() || text.size() > 3) {
        return std::nullopt;
    }
    int number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        number = number * 10 + (c - '0');
    }
    if (number < kFirstPortNumber || number > kLastPortNumber) {
        return std::nullopt;
    }
    return number;
}

std::string PortChoiceText(int portNumber) {
    return "COM " + std::to_string(portNumber);
}

}  // namespace vantrel
