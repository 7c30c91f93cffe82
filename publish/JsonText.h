#pragma once

// The little JSON the payloads need: flat objects of strings, numbers, true,
// false and null.

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel::publish {

// text as a JSON string, quotes included. Quotes, backslashes and control
// characters are escaped; bytes that are not UTF-8 (a channel name typed on an
// older system) become U+FFFD, so a consumer's parser never stumbles.
std::string JsonQuoted(std::string_view text);
// The same, appended to out.
void AppendJsonQuoted(std::string& out, std::string_view text);
// The length of the well-formed UTF-8 sequence at the start of text (not empty),
// or 0 where a byte cannot start one.
std::size_t Utf8SequenceLength(std::string_view text);
// The replacement character U+FFFD in UTF-8.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// Builds {"a":1,"b":"x"} in the order the members are added.
class JsonObject {
  public:
    JsonObject& text(std::string_view name, std::string_view value);
    // number must already be valid JSON number text.
    JsonObject& number(std::string_view name, std::string_view number);
    JsonObject& boolean(std::string_view name, bool value);
    JsonObject& null(std::string_view name);
    std::string str() const { return body_ + "}"; }

  private:
    void name(std::string_view name);
    std::string body_ = "{";
};

}  // namespace vantrel::publish
