#include "settings/TrendColourSettings.h"

#include <cstdio>

#include "settings/IniKeys.h"

namespace vantrel::ini {

namespace {

constexpr const Key& kColourKey = KeyOf(kTrendSection, "colour");

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::optional<platform::Rgb> ParseColourText(std::string_view text) {
    if (text.size() != 7 || text.front() != '#') {
        return std::nullopt;
    }
    std::array<std::uint8_t, 3> parts{};
    for (std::size_t part = 0; part < parts.size(); ++part) {
        const int high = HexDigit(text[1 + 2 * part]);
        const int low = HexDigit(text[2 + 2 * part]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        parts[part] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return platform::Rgb{parts[0], parts[1], parts[2]};
}

std::string ColourText(platform::Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.red, colour.green, colour.blue);
    return text;
}

TrendColourChoices ReadTrendColours(const FileTexts& file, std::vector<Problem>& problems) {
    SectionReader reader(kTrendSection, file, problems);
    TrendColourChoices colours;
    const auto texts = reader.perChannel(kColourKey);
    for (int channel = 0; channel < kUsedChannels; ++channel) {
        const std::string& text = texts[static_cast<std::size_t>(channel)];
        // Left empty, as a key without a value: the palette's, as when it is missing.
        if (text.empty()) {
            continue;
        }
        if (std::optional<platform::Rgb> colour = ParseColourText(text)) {
            colours[static_cast<std::size_t>(channel)] = colour;
        } else {
            reader.refuse(ChannelKeyName(kColourKey, channel), text, "the palette's colour",
                          "not a colour as #RRGGBB");
        }
    }
    reader.noteUnknownKeys();
    return colours;
}

SectionTexts TrendColoursTexts(const TrendColourChoices& colours) {
    SectionTexts texts;
    for (int channel = 0; channel < kUsedChannels; ++channel) {
        if (const std::optional<platform::Rgb>& colour =
                colours[static_cast<std::size_t>(channel)]) {
            texts.emplace(ChannelKeyName(kColourKey, channel), ColourText(*colour));
        }
    }
    return texts;
}

}  // namespace vantrel::ini
