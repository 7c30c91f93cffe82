#pragma once

// How every window writes a number for the eye. Numbers on screen follow the
// user's regional settings (decimal comma or point), the way every other program
// on the bench shows them, so that a reading matches the user's own notes and
// instruments; the Analog Data window's documented behaviour asks for the same.
// No thousands separator: "12345,68", never "12.345,68". Files never come here:
// they keep a period whatever the locale.

#include <QString>

namespace vantrel {

// Rounded to a fixed number of decimals: FixedText(12.345, 2) is "12.35" (or
// "12,35" with a decimal comma).
QString FixedText(double value, int decimals);

// The shortest general form with up to 7 significant digits: 25, 25.5, 24.87.
QString ShortestText(float value);

}  // namespace vantrel
