#pragma once

// The shipped thermocouple tables, read from the source tree's data folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/AcquisitionState.h"
#include "settings/TableFiles.h"

namespace vantrel::testing {

inline std::string DataFolder() {
    const char* source = std::getenv("VANTREL_SOURCE_DIR");
    return std::string(source != nullptr ? source : ".") + "/data";
}

// A start folder holding the shipped tables, as a first run finds it.
inline void CopyShippedTables(const std::string& folder) {
    for (const char* table : {"j.tc", "k.tc"}) {
        std::filesystem::copy_file(DataFolder() + "/" + table, folder + "/" + table);
    }
}

inline void LoadShippedTables(AcquisitionState& state) {
    for (const auto& [name, entries, into] :
         {std::tuple{"j.tc", kTableJEntries, state.TableJ.data()},
          std::tuple{"k.tc", kTableKEntries, state.TableK.data()}}) {
        const auto error = LoadThermocoupleTable({DataFolder()}, name, entries, into);
        ASSERT_FALSE(error.has_value()) << *error;
    }
}

}  // namespace vantrel::testing
