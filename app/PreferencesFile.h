#pragma once

// vantrel.ini through QSettings: read once at start, written only when the user
// presses OK in Options > Settings. A missing file means every default.

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

}  // namespace vantrel
