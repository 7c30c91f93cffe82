#include "publish/JsonText.h"

#include <array>
#include <cstdint>

namespace vantrel::publish {

std::size_t Utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    std::uint32_t lowest = 0;
    if (lead < 0x80) {
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        lowest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        lowest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        lowest = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    std::uint32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and code points past Unicode's end are not UTF-8.
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < lowest || surrogate || code > 0x10FFFF ? 0 : length;
}

std::string JsonQuoted(std::string_view text) {
    std::string quoted;
    AppendJsonQuoted(quoted, text);
    return quoted;
}

void AppendJsonQuoted(std::string& quoted, std::string_view text) {
    static constexpr std::array<char, 16> kHex = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                  '8', '9', 'a', 'b', 'c', 'd', 'e', 'f'};
    quoted += '"';
    while (!text.empty()) {
        const char c = text[0];
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            quoted += kReplacementCharacter;
            text.remove_prefix(1);
            continue;
        }
        if (length > 1) {
            quoted += text.substr(0, length);
        } else if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (c == '\r') {
            quoted += "\\r";
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (static_cast<unsigned char>(c) < 0x20) {
            quoted += "\\u00";
            quoted += kHex[static_cast<unsigned char>(c) >> 4];
            quoted += kHex[static_cast<unsigned char>(c) & 0x0F];
        } else {
            quoted += c;
        }
        text.remove_prefix(length);
    }
    quoted += '"';
}

void JsonObject::name(std::string_view name) {
    if (body_.size() > 1) {
        body_ += ',';
    }
    AppendJsonQuoted(body_, name);
    body_ += ':';
}

JsonObject& JsonObject::text(std::string_view name, std::string_view value) {
    this->name(name);
    AppendJsonQuoted(body_, value);
    return *this;
}

JsonObject& JsonObject::number(std::string_view name, std::string_view number) {
    this->name(name);
    body_ += number;
    return *this;
}

JsonObject& JsonObject::boolean(std::string_view name, bool value) {
    this->name(name);
    body_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::null(std::string_view name) {
    this->name(name);
    body_ += "null";
    return *this;
}

}  // namespace vantrel::publish
