#include "setup/RangeText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace vantrel {

namespace {

bool IsIgnoredBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The longest prefix of text (blanks removed) that forms a number.
std::string NumberPrefix(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text) {
        if (!IsIgnoredBlank(c)) {
            compact.push_back(c);
        }
    }

    std::size_t pos = 0;
    if (pos < compact.size() && (compact[pos] == '+' || compact[pos] == '-')) {
        ++pos;
    }
    bool sawDigit = false;
    while (pos < compact.size() && IsDigit(compact[pos])) {
        ++pos;
        sawDigit = true;
    }
    if (pos < compact.size() && compact[pos] == '.') {
        ++pos;
        while (pos < compact.size() && IsDigit(compact[pos])) {
            ++pos;
            sawDigit = true;
        }
    }
    if (!sawDigit) {
        return {};
    }
    std::size_t end = pos;
    // An exponent counts only when at least one digit follows it ("2e" is 2).
    if (pos < compact.size() && (compact[pos] == 'e' || compact[pos] == 'E')) {
        std::size_t exponent = pos + 1;
        if (exponent < compact.size() && (compact[exponent] == '+' || compact[exponent] == '-')) {
            ++exponent;
        }
        if (exponent < compact.size() && IsDigit(compact[exponent])) {
            while (exponent < compact.size() && IsDigit(compact[exponent])) {
                ++exponent;
            }
            end = exponent;
        }
    }
    // from_chars takes no leading '+'.
    std::string number = compact.substr(0, end);
    if (!number.empty() && number.front() == '+') {
        number.erase(0, 1);
    }
    return number;
}

}  // namespace

double InputRangeValue(std::string_view text) {
    const std::string number = NumberPrefix(text);
    if (number.empty()) {
        return 0.0;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value,
                                              std::chars_format::general);
    if (error != std::errc{} || !std::isfinite(value)) {
        return 0.0;
    }
    return value;
}

std::string RangeDisplayText(double value) {
    if (value == 0.0) {
        return "0";  // no "-0"
    }
    // Shortest fixed notation of a double needs at most a few hundred characters.
    std::array<char, 400> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed);
    if (error != std::errc{}) {
        return "0";
    }
    return std::string(buffer.data(), end);
}

}  // namespace vantrel
