#include "platform/CheckedNumber.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

namespace vantrel {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

struct LeadingPart {
    double value = 0.0;
    std::size_t end = 0;  // one past the number's last character
    std::size_t markAt = std::string_view::npos;
};

// The number at the text's start, or nothing when the text does not begin with one
// or the number runs straight into a second mark ("1.2.3", "12,5" read with a
// period), which would otherwise pass silently as a shorter number.
std::optional<LeadingPart> ReadLeading(std::string_view text, char decimalMark) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        number.push_back(text[i] == '-' ? '-' : '+');
        ++i;
    }
    LeadingPart part;
    std::size_t digits = 0;
    const auto isMark = [decimalMark](char c) { return c == decimalMark || c == '.'; };
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            ++digits;
            number.push_back(text[i]);
        } else if (isMark(text[i]) && part.markAt == std::string_view::npos) {
            part.markAt = i;
            number.push_back('.');
        } else {
            break;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        return std::nullopt;
    }
    // An exponent only when digits follow its letter; "5e" is 5 with a note "e".
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            number.append(text.substr(i, j - i));
            for (; j < text.size() && IsDigit(text[j]); ++j) {
                number.push_back(text[j]);
            }
            i = j;
        }
    }
    part.end = i;
    const char* first = number.data() + (number.front() == '+' ? 1 : 0);
    const auto result = std::from_chars(first, number.data() + number.size(), part.value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large to hold is out of every range; too small is as good as 0.
        part.value = std::strtod(number.c_str(), nullptr);
    }
    return part;
}

bool OnlyBlanks(std::string_view text) {
    for (const char c : text) {
        if (!IsBlank(c)) {
            return false;
        }
    }
    return true;
}

// A note is words after the number, never what reads as more of it: "12-4" and
// "1 2.5 V" are typing slips, not 12 and 1 with a note.
bool NoteFits(std::string_view rest, char decimalMark) {
    std::size_t i = 0;
    while (i < rest.size() && IsBlank(rest[i])) {
        ++i;
    }
    if (i == rest.size()) {
        return true;
    }
    const char c = rest[i];
    return !IsDigit(c) && c != '+' && c != '-' && c != '.' && c != decimalMark;
}

bool InRange(double value, const AllowedRange& range) {
    if (!std::isfinite(value)) {
        return false;
    }
    const bool aboveMin = range.minIncluded ? value >= range.min : value > range.min;
    const bool belowMax = range.maxIncluded ? value <= range.max : value < range.max;
    return aboveMin && belowMax && !(range.zeroExcluded && value == 0.0) &&
           !(range.integerOnly && value != std::floor(value));
}

std::string BoundText(double bound, char decimalMark) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, bound);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        c = c == '.' ? decimalMark : c;
    }
    return text;
}

}  // namespace

std::string AllowedRangeText(const AllowedRange& range, char decimalMark) {
    const bool hasMin = std::isfinite(range.min);
    const bool hasMax = std::isfinite(range.max);
    const std::string low = BoundText(range.min, decimalMark);
    const std::string high = BoundText(range.max, decimalMark);
    std::string text = range.integerOnly ? "a whole number" : "a number";
    if (hasMin && hasMax && range.minIncluded && range.maxIncluded) {
        text += " from " + low + " to " + high;
    } else {
        if (hasMin) {
            text += (range.minIncluded ? " of at least " : " greater than ") + low;
        }
        if (hasMax) {
            const char* join = hasMin ? " and" : range.maxIncluded ? " of" : "";
            text += join + std::string(range.maxIncluded ? " at most " : " less than ") + high;
        }
    }
    if (range.zeroExcluded) {
        text += hasMin || hasMax ? ", not 0" : " other than 0";
    }
    return text;
}

CheckedNumber CheckNumber(std::string_view typed, char decimalMark, std::string_view caption,
                          const AllowedRange& range) {
    CheckedNumber checked;
    checked.typed = std::string(typed);
    const auto part = ReadLeading(typed, decimalMark);
    const std::string_view rest = part.has_value() ? typed.substr(part->end) : typed;
    const bool noteFits = range.noteAllowed && NoteFits(rest, decimalMark);
    const bool endsWell = part.has_value() && (noteFits || OnlyBlanks(rest));
    if (endsWell && InRange(part->value, range)) {
        checked.accepted = true;
        checked.value = part->value;
        checked.fileText = checked.typed;
        if (part->markAt != std::string_view::npos) {
            checked.fileText[part->markAt] = '.';
        }
        return checked;
    }
    checked.refusal = std::string(caption) + ": \"" + checked.typed + "\" is not accepted.\n" +
                      "Allowed: " + AllowedRangeText(range, decimalMark) +
                      (range.noteAllowed ? ", a unit may follow." : ".");
    return checked;
}

}  // namespace vantrel
