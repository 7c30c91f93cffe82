#include "settings/ChannelScaleSettings.h"

#include <string>

namespace vantrel::ini {

namespace {

constexpr std::string_view kSection = kChannelsSection;
constexpr const Key& kScaleKey = KeyOf(kSection, "scale");
constexpr const Key& kUnitKey = KeyOf(kSection, "unit");
constexpr const Key& kDecimalsKey = KeyOf(kSection, "decimals");

const Key& KeyOfField(ScaleRefusal::Field field) {
    switch (field) {
        case ScaleRefusal::Field::Unit:
            return kUnitKey;
        case ScaleRefusal::Field::Decimals:
            return kDecimalsKey;
        case ScaleRefusal::Field::Scale:
            break;
    }
    return kScaleKey;
}

}  // namespace

ChannelScales ReadChannelScales(const FileTexts& file, std::vector<Problem>& problems) {
    SectionReader reader(kSection, file, problems);
    const auto scales = reader.perChannel(kScaleKey);
    const auto units = reader.perChannel(kUnitKey);
    const auto decimals = reader.perChannel(kDecimalsKey);
    ChannelScales read;
    for (int channel = 0; channel < kUsedChannels; ++channel) {
        const auto slot = static_cast<std::size_t>(channel);
        ScaleParse parsed = ParseChannelScale(scales[slot], units[slot], decimals[slot]);
        if (const auto* refused = std::get_if<ScaleRefusal>(&parsed)) {
            const Key& key = KeyOfField(refused->field);
            const std::string& found = refused->field == ScaleRefusal::Field::Unit ? units[slot]
                                       : refused->field == ScaleRefusal::Field::Decimals
                                           ? decimals[slot]
                                           : scales[slot];
            reader.refuse(ChannelKeyName(key, channel), found, "", refused->why);
        } else {
            read[slot] = std::get<std::optional<ChannelScale>>(parsed);
        }
    }
    reader.noteUnknownKeys();
    return read;
}

SectionTexts ChannelScalesTexts(const ChannelScales& scales) {
    SectionTexts texts;
    for (int channel = 0; channel < kUsedChannels; ++channel) {
        const std::optional<ChannelScale>& scale = scales[static_cast<std::size_t>(channel)];
        if (!scale) {
            continue;
        }
        // A unit or decimals alone scale by one, and read back so without a scale key.
        const bool byOneBeside = scale->form == ChannelScale::Form::GainOffset &&
                                 scale->gain == 1.0 && scale->offset == 0.0 &&
                                 (!scale->unit.empty() || scale->decimals.has_value());
        if (!byOneBeside) {
            texts.emplace(ChannelKeyName(kScaleKey, channel), ScaleText(*scale));
        }
        if (!scale->unit.empty()) {
            texts.emplace(ChannelKeyName(kUnitKey, channel), scale->unit);
        }
        if (scale->decimals) {
            texts.emplace(ChannelKeyName(kDecimalsKey, channel), std::to_string(*scale->decimals));
        }
    }
    return texts;
}

}  // namespace vantrel::ini
