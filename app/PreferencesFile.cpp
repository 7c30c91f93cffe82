#include "app/PreferencesFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSysInfo>
#include <algorithm>
#include <cctype>
#include <string_view>

#include "settings/AppPaths.h"
#include "settings/IniKeys.h"
#include "settings/IniQuoting.h"

namespace vantrel {

namespace {

QString PreferencesPath(const std::string& appDir) {
    return QString::fromStdString(FolderFilePath(appDir, ini::kPreferencesFile));
}

std::string StatusText(QSettings::Status status) {
    return status == QSettings::AccessError ? "it cannot be opened" : "its layout is damaged";
}

// QSettings reads an unquoted text holding commas as a list.
std::string ValueText(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    }
    return value.toString().toStdString();
}

bool HasPassword(const Preferences& preferences) {
    return !preferences.mqtt.password.empty();
}

// As a shell takes it back whole.
std::string ShellWord(const std::string& text) {
    const bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 ||
               std::string_view("/._-+,:@%").find(c) != std::string_view::npos;
    });
    if (plain) {
        return text;
    }
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// A file written by hand, or copied, may be readable by everyone on the machine;
// the settings window never leaves it so.
std::string ReadableByOthersWarning(const QString& path) {
    const std::string shown = ini::Escaped(path.toStdString());
    return shown +
           " holds the MQTT password and other users can read it; make it readable by "
           "you only: chmod 600 " +
           ShellWord(shown);
}

bool ReadableByOthers(const QString& path) {
#ifdef _WIN32
    // Group and other bits only mirror the owner's there.
    (void)path;
    return false;
#else
    return (QFileInfo(path).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther)) != 0;
#endif
}

// A numbered or per-channel key the new texts no longer hold, such as the rule
// removed from a list of five or the unit of a channel whose scale was cleared:
// left in the file it would be read back again.
bool IsDroppedNumberedKey(std::string_view section, const std::string& name,
                          const ini::SectionTexts& written) {
    return !written.contains(name) &&
           std::any_of(ini::kKeys.begin(), ini::kKeys.end(), [&](const ini::Key& key) {
               return (key.numbered || key.perChannel) && key.section == section &&
                      ini::IsNameOf(key, name);
           });
}

std::string Joined(const std::string& first, const std::string& second) {
    return first.empty() || second.empty() ? first + second : first + "\n" + second;
}

std::string CannotSaveText(const QString& path) {
    return "The settings cannot be saved in " + path.toStdString();
}

// The given sections' keys over those of the file, which keeps the rest.
std::optional<std::string> WriteSections(const QString& path, const ini::FileTexts& sections) {
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        // Writing would lose what the damaged file still holds.
        return CannotSaveText(path) + ": " + StatusText(settings.status()) + ".";
    }
    for (const auto& [section, keys] : sections) {
        settings.beginGroup(QString::fromStdString(section));
        for (const QString& name : settings.childKeys()) {
            if (IsDroppedNumberedKey(section, name.toStdString(), keys)) {
                settings.remove(name);
            }
        }
        settings.endGroup();
        for (const auto& [key, value] : keys) {
            settings.setValue(QString::fromStdString(section + "/" + key),
                              QString::fromStdString(value));
        }
    }
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        return CannotSaveText(path) + ".";
    }
    return std::nullopt;
}

}  // namespace

PreferencesReading LoadPreferences(const std::string& appDir) {
    const QString path = PreferencesPath(appDir);
    const std::string hostName = QSysInfo::machineHostName().toStdString();
    std::vector<ini::Problem> problems;
    PreferencesReading reading;
    if (!QFileInfo::exists(path)) {
        reading.preferences = ReadPreferences({}, hostName, problems);
        return reading;
    }
    const QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        reading.preferences = ReadPreferences({}, hostName, problems);
        reading.message = std::string(ini::kPreferencesFile) +
                          " cannot be read: " + StatusText(settings.status()) +
                          ". Every setting in it takes its default until it is saved again "
                          "from Options > Settings.";
        return reading;
    }
    ini::FileTexts texts;
    for (const QString& key : settings.allKeys()) {
        // A key without a section is one before any section (or under [General]).
        const qsizetype slash = key.indexOf(QLatin1Char('/'));
        if (slash != 0) {
            texts[key.left(std::max<qsizetype>(slash, 0)).toStdString()]
                 [key.mid(slash + 1).toStdString()] = ValueText(settings.value(key));
        }
    }
    reading.preferences = ReadPreferences(texts, hostName, problems);
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        for (ini::Problem& problem : ini::QuotingProblems(bytes.toStdString())) {
            problems.push_back(std::move(problem));
        }
    }
    if (!problems.empty()) {
        reading.message = ini::ProblemsMessage(problems);
    }
    if (HasPassword(reading.preferences) && ReadableByOthers(path)) {
        reading.message = Joined(reading.message, ReadableByOthersWarning(path));
    }
    return reading;
}

std::optional<std::string> SavePreferences(const std::string& appDir,
                                           const Preferences& preferences) {
    const QString path = PreferencesPath(appDir);
    const std::string cannot = CannotSaveText(path);
    constexpr QFileDevice::Permissions kOwnerOnly =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (HasPassword(preferences)) {
        // Made private before the password goes in: the file is replaced by a new
        // one that keeps these permissions.
        QFile file(path);
        if (!file.exists() && !file.open(QIODevice::WriteOnly)) {
            return cannot + ".";
        }
        file.close();
        if (!file.setPermissions(kOwnerOnly)) {
            return cannot + ": it cannot be made readable by its owner only.";
        }
    }
    return WriteSections(path, PreferencesTexts(preferences));
}

std::optional<std::string> SaveTrendColours(const std::string& appDir,
                                            const ini::TrendColourChoices& colours) {
    return WriteSections(PreferencesPath(appDir),
                         {{std::string(ini::kTrendSection), ini::TrendColoursTexts(colours)}});
}

}  // namespace vantrel
