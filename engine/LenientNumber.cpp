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

// Powers of ten that a double holds exactly; dividing an exact whole number by one
// of them is a single correctly rounded operation, as a full parse would give.
constexpr std::array<double, 16> kExactPowersOfTen = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
constexpr int kMaxExactDigits = 15;

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

// Any number, exponents and long mantissas included.
double ReadGeneral(std::string_view field) {
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

}  // namespace

double ReadLenientNumber(std::string_view field) {
    // The cards send short plain numbers ("+01234", "+25.0"); those are read here
    // directly, anything with blanks, an exponent or many digits goes the general way.
    std::size_t i = 0;
    const std::size_t n = field.size();
    bool negative = false;
    if (i < n && (field[i] == '+' || field[i] == '-')) {
        negative = field[i] == '-';
        ++i;
    }
    std::uint64_t mantissa = 0;
    int digits = 0;
    int fractionDigits = 0;
    bool point = false;
    for (; i < n; ++i) {
        const char c = field[i];
        if (IsDigit(c)) {
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            ++digits;
            fractionDigits += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits > kMaxExactDigits || (i < n && (IsIgnored(field[i]) || IsExponentMark(field[i])))) {
        return ReadGeneral(field);
    }
    if (digits == 0) {
        return 0.0;
    }
    double value = static_cast<double>(mantissa);
    if (fractionDigits > 0) {
        value /= kExactPowersOfTen[fractionDigits];
    }
    return negative ? -value : value;
}

}  // namespace vantrel
