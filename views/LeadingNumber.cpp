#include "views/LeadingNumber.h"

#include <cctype>
#include <charconv>
#include <limits>
#include <system_error>

namespace vantrel {

namespace {

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// from_chars only says "out of range"; the exponent's sign tells an overflow
// (infinity) from an underflow (zero).
double outOfRangeValue(std::string_view parsed) {
    const std::size_t e = parsed.find_first_of("eE");
    const bool negativeExponent =
        e != std::string_view::npos && e + 1 < parsed.size() && parsed[e + 1] == '-';
    return negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
}

}  // namespace

double LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::string_view rest = text.substr(i);
    // from_chars would also take "inf" and "nan", which are no numbers to a user.
    const bool startsNumber =
        !rest.empty() &&
        (isDigit(rest[0]) || (rest[0] == '.' && rest.size() > 1 && isDigit(rest[1])));
    if (!startsNumber) {
        return 0.0;
    }
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(rest.data(), rest.data() + rest.size(), value, std::chars_format::general);
    if (ec == std::errc::invalid_argument) {
        return 0.0;
    }
    if (ec == std::errc::result_out_of_range) {
        value = outOfRangeValue(rest.substr(0, static_cast<std::size_t>(end - rest.data())));
    }
    return negative ? -value : value;
}

}  // namespace vantrel
