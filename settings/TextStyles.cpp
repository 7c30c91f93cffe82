#include "settings/TextStyles.h"

#include <array>
#include <charconv>

namespace vantrel {

namespace {

// Shortest text that reads back to the same double, independent of the locale.
std::string ShortestDouble(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string PrintStyleWrap(std::string number) {
    // A number prints with room for its sign and one blank after it.
    if (number.empty() || number.front() != '-') {
        number.insert(number.begin(), ' ');
    }
    number.push_back(' ');
    return number;
}

}  // namespace

std::string PrintStyleNumber(std::int64_t value) {
    return PrintStyleWrap(std::to_string(value));
}

std::string PrintStyleNumber(double value) {
    return PrintStyleWrap(ShortestDouble(value));
}

std::string WriteStyleString(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted.push_back('"');
    quoted.append(text);
    quoted.push_back('"');
    return quoted;
}

std::string WriteStyleBoolean(bool value) {
    return value ? "#TRUE#" : "#FALSE#";
}

std::string WriteStyleInteger(std::int64_t value) {
    return std::to_string(value);
}

std::string WriteStyleDouble(double value) {
    return ShortestDouble(value);
}

TextFileBuilder& TextFileBuilder::line(std::string_view text) {
    contents_.append(text);
    contents_.append(kLineEnd);
    return *this;
}

}  // namespace vantrel
