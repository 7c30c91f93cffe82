#include "publish/LineProtocol.h"

#include "publish/JsonText.h"

namespace vantrel::publish {

namespace {

bool Escaped(char c, LinePlace place) {
    switch (place) {
        case LinePlace::Measurement:
            return c == ',' || c == ' ' || c == '\\';
        case LinePlace::Key:
            return c == ',' || c == '=' || c == ' ' || c == '\\';
        case LinePlace::StringValue:
            return c == '"' || c == '\\';
    }
    return false;
}

}  // namespace

void AppendLineText(std::string& out, std::string_view text, LinePlace place) {
    while (!text.empty()) {
        const std::size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            out += kReplacementCharacter;
            text.remove_prefix(1);
            continue;
        }
        if (length > 1) {
            out += text.substr(0, length);
            text.remove_prefix(length);
            continue;
        }
        char c = text[0];
        text.remove_prefix(1);
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = ' ';
        }
        if (Escaped(c, place)) {
            out += '\\';
        }
        out += c;
    }
}

}  // namespace vantrel::publish
