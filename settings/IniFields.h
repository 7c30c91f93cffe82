#pragma once

// A section of vantrel.ini as a plain struct: each field bound to its key of the
// table, so that reading, writing and the defaults follow the key's kind and
// range without a line of their own per key.

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "settings/IniKeys.h"
#include "settings/IniValues.h"

namespace vantrel::ini {

template <typename Section>
struct Field {
    const Key* key;
    std::function<void(SectionReader&, Section&)> read;
    std::function<std::string(const Section&)> write;
};

// A bool for a flag, an enum for a word (its values in the words' order), a whole
// number for a number, a std::string for a text; valid is the text's rule.
template <typename Section, typename T>
Field<Section> Bind(const Key& key, T Section::*member, SectionReader::TextRule valid = nullptr) {
    Field<Section> field{&key, {}, {}};
    if constexpr (std::is_same_v<T, bool>) {
        field.read = [&key, member](SectionReader& reader, Section& section) {
            section.*member = reader.flag(key, section.*member);
        };
        field.write = [member](const Section& section) { return FlagText(section.*member); };
    } else if constexpr (std::is_enum_v<T>) {
        field.read = [&key, member](SectionReader& reader, Section& section) {
            section.*member =
                static_cast<T>(reader.word(key, static_cast<std::size_t>(section.*member)));
        };
        field.write = [&key, member](const Section& section) {
            return std::string(WordOf(key, static_cast<std::size_t>(section.*member)));
        };
    } else if constexpr (std::is_integral_v<T>) {
        field.read = [&key, member](SectionReader& reader, Section& section) {
            section.*member = static_cast<T>(reader.number(key, section.*member));
        };
        field.write = [member](const Section& section) { return std::to_string(section.*member); };
    } else {
        static_assert(std::is_same_v<T, std::string>);
        field.read = [&key, member, valid](SectionReader& reader, Section& section) {
            section.*member = reader.text(key, section.*member, valid);
        };
        field.write = [member](const Section& section) { return section.*member; };
    }
    return field;
}

// Each key read over the value start holds (its fallback), then the section's
// unknown keys noted.
template <typename Section>
Section ReadFields(const std::vector<Field<Section>>& fields, std::string_view name,
                   const FileTexts& file, Section start, std::vector<Problem>& problems) {
    SectionReader reader(name, file, problems);
    for (const Field<Section>& field : fields) {
        field.read(reader, start);
    }
    reader.noteUnknownKeys();
    return start;
}

template <typename Section>
SectionTexts FieldTexts(const std::vector<Field<Section>>& fields, const Section& section) {
    SectionTexts texts;
    for (const Field<Section>& field : fields) {
        texts.emplace(field.key->name, field.write(section));
    }
    return texts;
}

}  // namespace vantrel::ini
