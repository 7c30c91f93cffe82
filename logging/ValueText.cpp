#include "logging/ValueText.h"

#include <array>
#include <cctype>
#include <charconv>

namespace vantrel {

namespace {
constexpr int kSignificantDigits = 7;
}

std::string ValueText(float value) {
    // Negative zero (a tiny negative input scaled to nothing) reads as plain 0.
    if (value == 0.0f) {
        return "0";
    }
    // to_chars in general form is printf's %.7g without the locale: the
    // plain/exponent switch and the zero trimming are exactly the log's rules.
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, kSignificantDigits);
    std::string text(buffer.data(), result.ptr);
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

}  // namespace vantrel
