#include "settings/FieldReader.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <string_view>
#include <system_error>

namespace vantrel {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Round half to even, as the counts and settings were always rounded.
double RoundHalfEven(double value) {
    return std::nearbyint(value);
}

}  // namespace

FieldReader::FieldReader(std::string text) : text_(std::move(text)) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (std::string_view(text_).starts_with(kByteOrderMark)) {
        pos_ = kByteOrderMark.size();
    }
}

std::optional<FieldReader> FieldReader::fromFile(const std::string& path, std::size_t maxBytes,
                                                 std::string* error, bool* truncated) {
    auto fail = [&](const std::string& why) -> std::optional<FieldReader> {
        if (error != nullptr) {
            *error = why;
        }
        return std::nullopt;
    };
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return fail("cannot open " + path);
    }
    std::string text;
    char buffer[4096];
    while (in) {
        in.read(buffer, sizeof buffer);
        const auto got = static_cast<std::size_t>(in.gcount());
        if (text.size() + got > maxBytes) {
            if (truncated == nullptr) {
                return fail(path + " is larger than " + std::to_string(maxBytes) + " bytes");
            }
            *truncated = true;
            text.append(buffer, maxBytes - text.size());
            return FieldReader(std::move(text));
        }
        text.append(buffer, got);
    }
    if (in.bad()) {
        return fail("cannot read " + path);
    }
    return FieldReader(std::move(text));
}

void FieldReader::skipToField() {
    // Line ends are not skipped: an empty line is an empty field, so a text kept as
    // an empty line does not shift every field after it.
    while (pos_ < text_.size() && IsBlank(text_[pos_])) {
        ++pos_;
    }
}

bool FieldReader::nextIs(std::size_t at, char c) const {
    return at < text_.size() && text_[at] == c;
}

void FieldReader::finishField() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) {
        ++pos_;
    }
    if (pos_ >= text_.size()) {
        return;
    }
    if (text_[pos_] == ',') {
        ++pos_;
    } else if (text_[pos_] == '\r') {
        ++pos_;
        if (nextIs(pos_, '\n')) {
            ++pos_;
        }
        ++lineAtPos_;
    } else if (text_[pos_] == '\n') {
        ++pos_;
        ++lineAtPos_;
    }
}

std::optional<std::string_view> FieldReader::nextToken(bool endsAtBlank) {
    skipToField();
    line_ = lineAtPos_;
    if (pos_ >= text_.size()) {
        return std::nullopt;
    }
    const std::size_t start = pos_;
    while (pos_ < text_.size()) {
        const char c = text_[pos_];
        if (c == ',' || IsLineEnd(c) || (endsAtBlank && IsBlank(c))) {
            break;
        }
        ++pos_;
    }
    std::string_view token(text_.data() + start, pos_ - start);
    while (!token.empty() && IsBlank(token.back())) {
        token.remove_suffix(1);
    }
    finishField();
    return token;
}

std::optional<std::string> FieldReader::readString() {
    skipToField();
    line_ = lineAtPos_;
    if (pos_ >= text_.size()) {
        return std::nullopt;
    }
    if (text_[pos_] != '"') {
        const auto token = nextToken(false);
        if (!token) {
            return std::nullopt;
        }
        return std::string(*token);
    }
    const std::size_t close = text_.find('"', pos_ + 1);
    if (close == std::string::npos) {
        pos_ = text_.size();
        return std::nullopt;
    }
    std::string value = text_.substr(pos_ + 1, close - pos_ - 1);
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\n' ||
            (value[i] == '\r' && (i + 1 == value.size() || value[i + 1] != '\n'))) {
            ++lineAtPos_;
        }
    }
    // Whatever follows the closing quote up to the delimiter is not part of the text.
    pos_ = close + 1;
    while (pos_ < text_.size() && text_[pos_] != ',' && !IsLineEnd(text_[pos_])) {
        ++pos_;
    }
    finishField();
    return value;
}

std::optional<double> FieldReader::readDouble() {
    const auto token = nextToken(true);
    if (!token) {
        return std::nullopt;
    }
    if (token->empty()) {
        return 0.0;
    }
    std::string_view digits = *token;
    if (digits.front() == '+') {
        digits.remove_prefix(1);
        if (!digits.empty() && digits.front() == '-') {
            return std::nullopt;
        }
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> FieldReader::readLong() {
    const auto value = readDouble();
    if (!value) {
        return std::nullopt;
    }
    const double rounded = RoundHalfEven(*value);
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

std::optional<std::int16_t> FieldReader::readInteger() {
    const auto value = readLong();
    if (!value || *value < std::numeric_limits<std::int16_t>::min() ||
        *value > std::numeric_limits<std::int16_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(*value);
}

std::optional<bool> FieldReader::readBoolean() {
    const auto token = nextToken(true);
    if (!token) {
        return std::nullopt;
    }
    if (*token == "#TRUE#") {
        return true;
    }
    if (*token == "#FALSE#") {
        return false;
    }
    return std::nullopt;
}

bool FieldReader::atEnd() const {
    for (std::size_t i = pos_; i < text_.size(); ++i) {
        if (!IsBlank(text_[i]) && !IsLineEnd(text_[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace vantrel
