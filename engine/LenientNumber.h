#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vantrel {

// Any field, the slow way: blanks, exponents, long mantissas.
double ReadLenientNumberGeneral(std::string_view field);

// The forgiving reading the cards' analog fields get: blanks, tabs and line feeds
// anywhere are ignored, then the longest leading number (sign, digits, decimal
// point, exponent) is taken; no number at all reads as 0. Exponents beyond the
// double range give an infinity (or zero for a tiny value).
//
// Inline because it runs nine times for every frame: the cards send short plain
// numbers ("+01234", "+25.0"), which are read here directly; anything with blanks,
// an exponent or many digits goes the general way.
inline double ReadLenientNumber(std::string_view field) {
    // Powers of ten that a double holds exactly; dividing an exact whole number by
    // one of them is a single correctly rounded operation, as a full parse gives.
    constexpr std::array<double, 16> kExactPowersOfTen = {
        1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    constexpr int kMaxExactDigits = 15;
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
        const char stop = field[i];
        if (stop == ' ' || stop == '\t' || stop == '\n' || stop == 'e' || stop == 'E' ||
            stop == 'd' || stop == 'D') {
            return ReadLenientNumberGeneral(field);
        }
    }
    if (digits > kMaxExactDigits) {
        return ReadLenientNumberGeneral(field);
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
