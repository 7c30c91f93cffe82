#include "engine/LenientNumber.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

namespace vantrel {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsIgnored(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsExponentMark(char c) {
    return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// The field without the ignored characters.
std::string Compact(std::string_view field) {
    std::string text;
    text.reserve(field.size());
    for (const char c : field) {
        if (!IsIgnored(c)) {
            text.push_back(c);
        }
    }
    return text;
}

}  // namespace

double ReadLenientNumberGeneral(std::string_view field) {
    const std::string text = Compact(field);
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    std::string number = text.substr(start, i - start);
    bool negativeExponent = false;
    if (i < text.size() && IsExponentMark(text[i])) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            exponent.push_back(text[j]);
            ++j;
        }
        // Only an exponent with digits belongs to the number; "3e" reads as 3.
        if (j < text.size() && IsDigit(text[j])) {
            for (; j < text.size() && IsDigit(text[j]); ++j) {
                exponent.push_back(text[j]);
            }
            number += exponent;
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

}  // namespace vantrel
