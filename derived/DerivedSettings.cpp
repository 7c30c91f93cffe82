#include "derived/DerivedSettings.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace vantrel::derived {

namespace {

constexpr std::string_view kSection = ini::kDerivedSection;
constexpr const ini::Key& kDerivedKey = ini::KeyOf(kSection, "derived");
constexpr const ini::Key& kSavedKey = ini::KeyOf(kSection, "saved");
constexpr char kSeparator = '|';

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// UTF-8 continuation bytes do not start a character.
std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

bool IsIdentifier(std::string_view text) {
    const auto letter = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    };
    return !text.empty() && letter(text.front()) &&
           std::all_of(text.begin(), text.end(),
                       [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

std::variant<DerivedChannel, std::string> ParseDerivedChannel(std::string_view text) {
    std::string_view parts[3];
    std::string_view rest = text;
    for (std::string_view& part : parts) {
        const std::size_t cut = rest.find(kSeparator);
        if (cut == std::string_view::npos) {
            return std::string("not name | unit | decimals | expression");
        }
        part = Trimmed(rest.substr(0, cut));
        rest = rest.substr(cut + 1);
    }
    DerivedChannel channel;
    channel.name = std::string(parts[0]);
    if (!IsIdentifier(channel.name)) {
        return "name \"" + channel.name + "\" is not letters, digits and _ starting with a letter";
    }
    if (HasLineBreak(parts[1])) {
        return "unit has a line break";
    }
    // The log's header quotes a column holding a separator but never doubles a quote.
    if (parts[1].find('"') != std::string_view::npos) {
        return "unit holds a double quote";
    }
    if (CharacterCount(parts[1]) > kMaxUnitCharacters) {
        return "unit is longer than " + std::to_string(kMaxUnitCharacters) + " characters";
    }
    channel.unit = std::string(parts[1]);
    const std::string_view decimals = parts[2];
    const auto [stop, error] =
        std::from_chars(decimals.data(), decimals.data() + decimals.size(), channel.decimals);
    if (decimals.empty() || error != std::errc() || stop != decimals.data() + decimals.size() ||
        channel.decimals < 0 || channel.decimals > kMaxDecimals) {
        return "decimals " + std::string(decimals) + " is not 0 to " + std::to_string(kMaxDecimals);
    }
    channel.expression = std::string(Trimmed(rest));
    if (channel.expression.empty()) {
        return std::string("no expression");
    }
    if (HasLineBreak(channel.expression)) {
        return std::string("expression has a line break");
    }
    return channel;
}

std::string DerivedChannelText(const DerivedChannel& channel) {
    const std::string unit = channel.unit.empty() ? " " : " " + channel.unit + " ";
    return channel.name + " |" + unit + "| " + std::to_string(channel.decimals) + " | " +
           channel.expression;
}

DerivedSettings ReadDerivedSettings(const ini::FileTexts& file,
                                    std::vector<ini::Problem>& problems) {
    ini::SectionReader reader(kSection, file, problems);
    DerivedSettings settings;
    std::set<std::string, std::less<>> names;
    for (const auto& [name, text] : reader.numbered(kDerivedKey)) {
        if (Trimmed(text).empty()) {
            continue;
        }
        auto parsed = ParseDerivedChannel(text);
        if (const std::string* why = std::get_if<std::string>(&parsed)) {
            reader.refuse(name, text, "", *why);
        } else if (settings.channels.size() == kMaxDerivedChannels) {
            reader.refuse(name, text, "",
                          "more than " + std::to_string(kMaxDerivedChannels) + " derived channels");
        } else if (!names.insert(std::get<DerivedChannel>(parsed).name).second) {
            reader.refuse(name, text, "",
                          "name " + std::get<DerivedChannel>(parsed).name + " is used twice");
        } else {
            settings.channels.push_back(std::get<DerivedChannel>(parsed));
        }
    }
    const std::string saved = reader.text(kSavedKey, "");
    std::string_view rest = saved;
    std::string unknown;
    while (!rest.empty()) {
        const std::size_t cut = std::min(rest.find(','), rest.size());
        const std::string_view name = Trimmed(rest.substr(0, cut));
        rest = cut < rest.size() ? rest.substr(cut + 1) : std::string_view{};
        const auto channel = std::find_if(settings.channels.begin(), settings.channels.end(),
                                          [&](const DerivedChannel& c) { return c.name == name; });
        if (channel != settings.channels.end()) {
            channel->saved = true;
        } else if (!name.empty()) {
            unknown += (unknown.empty() ? "" : ", ") + std::string(name);
        }
    }
    // One note for the key, however many of its names are unknown.
    if (!unknown.empty()) {
        reader.refuse(kSavedKey.name, saved, "", "no derived channel is named " + unknown);
    }
    reader.noteUnknownKeys();
    return settings;
}

ini::SectionTexts DerivedSettingsTexts(const DerivedSettings& settings) {
    ini::SectionTexts texts;
    for (std::size_t index = 0; index < settings.channels.size(); ++index) {
        texts.emplace(std::string(kDerivedKey.name) + std::to_string(index + 1),
                      DerivedChannelText(settings.channels[index]));
    }
    std::string saved;
    for (const DerivedChannel& channel : settings.channels) {
        if (channel.saved) {
            saved += (saved.empty() ? "" : ", ") + channel.name;
        }
    }
    texts.emplace(std::string(kSavedKey.name), saved);
    return texts;
}

}  // namespace vantrel::derived
