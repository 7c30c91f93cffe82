#pragma once

// vantrel.ini through QSettings: read once at start, written when the user
// presses OK in Options > Settings; a colour picked in the Real Time Trend writes
// its own section alone. A missing file means every default.

#include <optional>
#include <string>

#include "app/Preferences.h"

namespace vantrel {

struct PreferencesReading {
    Preferences preferences;
    // One message naming what could not be used and what is used instead, and
    // whether others can read the password; empty when all is well.
    std::string message;
};

PreferencesReading LoadPreferences(const std::string& appDir);
// Keeps the file's other sections and keys, but not a numbered key beyond those
// written (the rule removed from the list). A file holding a password is
// readable by its owner only. Nothing on success, otherwise what failed.
std::optional<std::string> SavePreferences(const std::string& appDir,
                                           const Preferences& preferences);
// Only the [trend] section, the others as the file holds them.
std::optional<std::string> SaveTrendColours(const std::string& appDir,
                                            const ini::TrendColourChoices& colours);

}  // namespace vantrel
