#include "setup/ConfigFile.h"

#include <cstdint>
#include <cstdio>

#include "settings/TextStyles.h"

namespace vantrel {

namespace {

constexpr int kConfigFields = 2 + kChannelsPerCard;

bool IsBlankOnly(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

bool NeedsQuotes(const std::string& text) {
    return text.find(',') != std::string::npos || IsBlankOnly(text);
}

// A bare text beginning with a double quote would be read as a quoted one.
bool StartsWithQuote(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    return first != std::string::npos && text[first] == '"';
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::optional<int> HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return std::nullopt;
}

// Only the low sixteen bits matter, so longer masks cannot overflow.
std::optional<std::uint16_t> ParseMask(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint32_t mask = 0;
    for (char c : text) {
        const auto digit = HexDigitValue(c);
        if (!digit) {
            return std::nullopt;
        }
        mask = ((mask << 4) | static_cast<std::uint32_t>(*digit)) & 0xFFFFu;
    }
    return static_cast<std::uint16_t>(mask);
}

ConfigFileParse Failure(std::string why) {
    return ConfigFileParse{std::nullopt, std::move(why)};
}

}  // namespace

std::optional<std::string> ConfigFileProblem(const CardConfiguration& config) {
    for (int c = 0; c < kChannelsPerCard; ++c) {
        if (config.inputType[c] < 0 || config.inputType[c] >= kInputTypeCount) {
            return "Analog input " + std::to_string(c) + " has no input type selected.";
        }
        const std::string& text = config.rangeText[c];
        const bool hasQuote = text.find('"') != std::string::npos;
        if ((hasQuote && (NeedsQuotes(text) || StartsWithQuote(text))) ||
            text.find_first_of("\r\n") != std::string::npos) {
            return "The input range of analog input " + std::to_string(c) + ", \"" + text +
                   "\", cannot be kept in a configuration file: remove its double quotes.";
        }
    }
    return std::nullopt;
}

std::string FormatConfigFile(const CardConfiguration& config) {
    unsigned mask = 0;
    for (int d = kLinesPerCard - 1; d >= 0; --d) {
        mask = mask * 2 + (config.lineIsInput[d] ? 1u : 0u);
    }
    char maskText[8];
    std::snprintf(maskText, sizeof maskText, "%04X", mask);

    std::string types;
    for (int type : config.inputType) {
        types += std::to_string(type);
    }

    TextFileBuilder file;
    file.line(maskText).line(types);
    for (const std::string& text : config.rangeText) {
        file.line(NeedsQuotes(text) ? Quoted(text) : text);
    }
    return file.contents();
}

ConfigFileParse ParseConfigFile(FieldReader reader) {
    std::array<std::string, kConfigFields> fields;
    std::array<int, kConfigFields> lines{};
    for (int i = 0; i < kConfigFields; ++i) {
        auto field = reader.readString();
        if (!field) {
            const std::string where =
                i == 0 ? "is empty" : "ends after line " + std::to_string(lines[i - 1]);
            return Failure("The configuration file " + where +
                           ": it needs ten lines (direction mask, input types and eight "
                           "input ranges).");
        }
        fields[i] = std::move(*field);
        lines[i] = reader.line();
    }

    const auto mask = ParseMask(fields[0]);
    if (!mask) {
        return Failure("Line " + std::to_string(lines[0]) + " of the configuration file, \"" +
                       fields[0] + "\", is not a hexadecimal direction mask.");
    }

    CardConfiguration config;
    for (int d = 0; d < kLinesPerCard; ++d) {
        config.lineIsInput[d] = ((*mask >> d) & 1u) != 0;
    }
    const std::string& types = fields[1];
    for (int c = 0; c < kChannelsPerCard; ++c) {
        // A missing or non-digit character stands for the first input type.
        const char code = static_cast<std::size_t>(c) < types.size() ? types[c] : '0';
        const int type = (code >= '0' && code <= '9') ? code - '0' : 0;
        if (type >= kInputTypeCount) {
            return Failure("Line " + std::to_string(lines[1]) + " of the configuration file, \"" +
                           types + "\", gives analog input " + std::to_string(c) +
                           " the input type " + std::to_string(type) + "; only 0 to 6 exist.");
        }
        config.inputType[c] = type;
        config.rangeText[c] = fields[2 + c];
    }
    return ConfigFileParse{std::move(config), {}};
}

}  // namespace vantrel
