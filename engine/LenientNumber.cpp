#include "engine/LenientNumber.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>
#include <system_error>

namespace vantrel {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// The text as the rules read it: without any blanks, or from its first non-blank on.
std::string Readable(std::string_view text, bool blanksAnywhere) {
    std::string readable;
    readable.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    for (; i < text.size(); ++i) {
        if (!blanksAnywhere || !IsBlank(text[i])) {
            readable.push_back(text[i]);
        }
    }
    return readable;
}

// Beyond this an exponent's size no longer matters: every double is far nearer.
constexpr long kExponentCap = 1000000;

}  // namespace

double LeadingNumberGeneral(std::string_view text, NumberRules rules) {
    const std::string t = Readable(text, rules.blanksAnywhere);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    // The decimal exponent of the first significant digit, so that a number out of
    // the double's range can be told too large (an overflow) from too small.
    long leadExponent = 0;
    bool significant = false;
    std::size_t digits = 0;
    const std::size_t mantissaStart = i;
    for (; i < t.size() && IsDigit(t[i]); ++i) {
        ++digits;
        if (significant) {
            ++leadExponent;
        }
        significant = significant || t[i] != '0';
    }
    if (i < t.size() && t[i] == '.') {
        for (++i; i < t.size() && IsDigit(t[i]); ++i) {
            ++digits;
            if (!significant) {
                --leadExponent;
                significant = t[i] != '0';
            }
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    std::string number = t.substr(mantissaStart, i - mantissaStart);
    long exponent = 0;
    const bool exponentLetter = i < t.size() && (t[i] == 'e' || t[i] == 'E' ||
                                                 (rules.dExponent && (t[i] == 'd' || t[i] == 'D')));
    if (exponentLetter) {
        std::size_t j = i + 1;
        const bool negativeExponent = j < t.size() && t[j] == '-';
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) {
            ++j;
        }
        if (j < t.size() && IsDigit(t[j])) {
            for (; j < t.size() && IsDigit(t[j]); ++j) {
                exponent = std::min(exponent * 10 + (t[j] - '0'), kExponentCap);
            }
            exponent = negativeExponent ? -exponent : exponent;
            number += 'e' + std::to_string(exponent);
        }
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        const bool tooLarge = significant && leadExponent + exponent > 0;
        value = tooLarge && rules.tooLarge == NumberRules::TooLarge::Infinity
                    ? std::numeric_limits<double>::infinity()
                    : 0.0;
    }
    return negative ? -value : value;
}

}  // namespace vantrel
