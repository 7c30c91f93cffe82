#pragma once

// The check behind every number the user types into a window: the text must begin
// with a number (blanks before it are fine) that lies in the field's allowed
// range; otherwise the answer is the message that tells the user which field
// refused what and what it takes. Files read at start never come here: they stay
// with the forgiving reader in engine/LenientNumber.h, so a stored file always loads.
//
// On screen the number is read with the user's decimal mark; a period is taken
// too, as the values loaded from files show one. A field that keeps its text as
// typed ("12.5 V", the configuration's ranges) may carry a unit or note after the
// number; other fields take the number alone ("18x3" is no port).

#include <limits>
#include <string>
#include <string_view>

namespace vantrel {

struct AllowedRange {
    double min = -std::numeric_limits<double>::infinity();
    double max = std::numeric_limits<double>::infinity();
    bool minIncluded = true;
    bool maxIncluded = true;
    // For a value the program divides by: 0 is refused even inside [min, max].
    bool zeroExcluded = false;
    bool integerOnly = false;
    // A unit or note may follow the number after a blank or a letter ("12.5 V").
    bool noteAllowed = false;
};

struct CheckedNumber {
    bool accepted = false;
    double value = 0.0;
    // The text exactly as typed, to show and to store where the text is kept.
    std::string typed;
    // The same text with the number's decimal mark a period, as files keep it.
    std::string fileText;
    // Set when refused: names the field, quotes the text and states the range.
    std::string refusal;
};

// caption names the field as the window labels it ("Input Range CH4").
CheckedNumber CheckNumber(std::string_view typed, char decimalMark, std::string_view caption,
                          const AllowedRange& range);

// "a number from 0 to 100", "a whole number from 1 to 65535", "a number other
// than 0": the Allowed line of a refusal, with the bounds in the decimal mark given.
std::string AllowedRangeText(const AllowedRange& range, char decimalMark);

}  // namespace vantrel
