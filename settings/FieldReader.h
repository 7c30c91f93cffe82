#pragma once

// The one reader for every text file the program reads (tables, settings,
// configuration and calibration files), in both writing styles:
// fields end at a comma or at the end of a line, so an empty line is an empty
// field; blanks before a field are skipped; a field that begins with a double
// quote runs to the next double quote and the quotes are dropped; a numeric field
// also ends at a blank.
// Every read returns nothing when the next field is missing or does not read as
// its type, so callers can recover instead of trusting half-read values.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

class FieldReader {
  public:
    // Files larger than this are refused rather than read into memory.
    static constexpr std::size_t kDefaultMaxBytes = 1 << 20;

    // A UTF-8 byte-order mark at the start, as some editors write, is skipped.
    explicit FieldReader(std::string text);

    // Reads the whole file; nothing (and a reason in *error) when it is missing,
    // unreadable or larger than maxBytes. With truncated given, a larger file gives
    // its first maxBytes instead and sets *truncated.
    static std::optional<FieldReader> fromFile(const std::string& path,
                                               std::size_t maxBytes = kDefaultMaxBytes,
                                               std::string* error = nullptr,
                                               bool* truncated = nullptr);

    std::optional<std::string> readString();
    std::optional<double> readDouble();
    // Numbers take decimal text with a period ("+" or "-" sign, exponent allowed);
    // the whole field must be the number, and an empty field is 0. Integer and Long
    // round a fraction half to even and refuse values outside their range.
    std::optional<std::int16_t> readInteger();  // nothing outside -32768..32767
    std::optional<std::int32_t> readLong();
    std::optional<bool> readBoolean();  // "#TRUE#" / "#FALSE#"

    // Only blanks and line ends are left (a trailing empty line is not counted as
    // a field here).
    bool atEnd() const;
    // 1-based line number of the field read last, for messages.
    int line() const { return line_; }

  private:
    void skipToField();
    void finishField();
    bool nextIs(std::size_t at, char c) const;
    // The field's text up to its delimiter, trailing blanks dropped; the delimiter
    // is consumed. Nothing at the end of the text.
    std::optional<std::string_view> nextToken(bool endsAtBlank);

    std::string text_;
    std::size_t pos_ = 0;
    int line_ = 0;
    int lineAtPos_ = 1;
};

}  // namespace vantrel
