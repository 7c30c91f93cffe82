#pragma once

// The pieces of InfluxDB's line protocol that names and texts go into, each
// escaped as its place requires, so that any channel name gives a valid line.

#include <string>
#include <string_view>

namespace vantrel::publish {

enum class LinePlace {
    // Commas and blanks are escaped.
    Measurement,
    // Commas, equals signs and blanks are escaped (tag keys, tag values, field keys).
    Key,
    // Inside double quotes: quotes and backslashes are escaped.
    StringValue,
};

// text appended to out as place requires. A backslash is doubled (outside a
// string value too, where a lone one before an escaped character would change
// it); a line end, a tab or another control character becomes a blank, as a
// line can hold none; bytes that are not UTF-8 become U+FFFD.
void AppendLineText(std::string& out, std::string_view text, LinePlace place);

}  // namespace vantrel::publish
