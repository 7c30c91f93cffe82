#pragma once

// The two writing styles of the program's text files. Lines always end in CR LF,
// whatever the platform.
//  - print style: a number with a leading blank (or its minus sign) and a trailing
//    blank (" 3 ", "-1 "); a text bare.
//  - write style: a text in double quotes without escaping, a Boolean as "#TRUE#"
//    or "#FALSE#", a number bare with a period as decimal separator whatever the
//    locale, a Double in the shortest text that reads back to the same value
//    (10.0 is "10").

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

inline constexpr std::string_view kLineEnd = "\r\n";

std::string PrintStyleNumber(std::int64_t value);
std::string PrintStyleNumber(double value);

std::string WriteStyleString(std::string_view text);
std::string WriteStyleBoolean(bool value);
std::string WriteStyleInteger(std::int64_t value);
std::string WriteStyleDouble(double value);

// Collects lines, each ended by CR LF.
class TextFileBuilder {
  public:
    TextFileBuilder& line(std::string_view text);
    const std::string& contents() const { return contents_; }

  private:
    std::string contents_;
};

}  // namespace vantrel
