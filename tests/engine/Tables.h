#pragma once

// The shipped thermocouple tables, read from the source tree's data folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "engine/AcquisitionState.h"
#include "engine/FieldReader.h"

namespace vantrel::testing {

inline std::string DataFolder() {
    const char* source = std::getenv("VANTREL_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/data";
}

inline void LoadTable(const std::string& name, int entries, double* into) {
    auto reader = FieldReader::fromFile(DataFolder() + "/" + name);
    ASSERT_TRUE(reader.has_value()) << name;
    for (int i = 0; i < entries; ++i) {
        const auto value = reader->readDouble();
        ASSERT_TRUE(value.has_value()) << name << " entry " << i;
        into[i] = *value;
    }
}

inline void LoadShippedTables(AcquisitionState& state) {
    LoadTable("j.tc", kTableJEntries, state.TableJ.data());
    LoadTable("k.tc", kTableKEntries, state.TableK.data());
}

}  // namespace vantrel::testing
