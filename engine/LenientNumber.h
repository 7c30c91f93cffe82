#pragma once

// The number a text begins with: the one reader behind the cards' analog fields,
// the typed input range and the trend's range box. What those texts need
// differently is spelled out in NumberRules; everything else is shared: an
// optional sign, digits with at most one "." (always a period, whatever the
// user's locale), an exponent only when a digit follows its letter ("3e" is 3),
// reading stops at the first character that cannot continue the number, and a
// text that does not begin with a number gives 0. A value too small for a double
// gives 0.

#include <array>
#include <cstdint>
#include <string_view>

namespace vantrel {

struct NumberRules {
    // Blanks, tabs and line feeds anywhere in the text are skipped ("1 5" is 15);
    // otherwise only those before the number, and the next one ends it.
    bool blanksAnywhere = true;
    // "2d2" is 200, the exponent letter of double-precision notation, besides e/E.
    bool dExponent = false;
    // A number beyond the double range: plus or minus infinity, for a caller that
    // judges the size itself; or 0, where an infinity would poison every use.
    enum class TooLarge { Infinity, Zero };
    TooLarge tooLarge = TooLarge::Infinity;
};

namespace number_rules {
// A card's analog field: the forgiving reading its firmware's text was made for.
inline constexpr NumberRules kCardField{true, true, NumberRules::TooLarge::Infinity};
// The input range typed in the configuration window; it scales every conversion.
inline constexpr NumberRules kInputRange{true, false, NumberRules::TooLarge::Zero};
// The trend's range box: the leading number as typed; the trend caps a huge one.
inline constexpr NumberRules kTrendRange{false, false, NumberRules::TooLarge::Infinity};
}  // namespace number_rules

// Any text, the slow way: blanks, exponents, long mantissas.
double LeadingNumberGeneral(std::string_view text, NumberRules rules);

// Inline because it runs nine times for every frame: the cards send short plain
// numbers ("+01234", "+25.0"), which are read here directly under any rules;
// anything with blanks, an exponent letter or many digits goes the general way.
inline double LeadingNumber(std::string_view text, NumberRules rules) {
    // Powers of ten that a double holds exactly; dividing an exact whole number by
    // one of them is a single correctly rounded operation, as a full parse gives.
    constexpr std::array<double, 16> kExactPowersOfTen = {
        1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    constexpr int kMaxExactDigits = 15;
    std::size_t i = 0;
    const std::size_t n = text.size();
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint64_t mantissa = 0;
    int digits = 0;
    int fractionDigits = 0;
    bool point = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            ++digits;
            fractionDigits += point ? 1 : 0;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (i < n) {
        const char stop = text[i];
        if (stop == ' ' || stop == '\t' || stop == '\n' || stop == 'e' || stop == 'E' ||
            stop == 'd' || stop == 'D') {
            return LeadingNumberGeneral(text, rules);
        }
    }
    if (digits > kMaxExactDigits) {
        return LeadingNumberGeneral(text, rules);
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
