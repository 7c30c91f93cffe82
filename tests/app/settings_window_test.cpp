// Guards Options > Settings and vantrel.ini: a broken station accepted by OK, a
// letter in a number box dropped in silence or refused naming another field, a
// Cancel that stores, a password written where others can read it or read back
// other than typed, settings that need a restart, and at start-up a bad value
// used, a message per problem instead of one, a file rewritten behind the user's
// back, a typo or a cut value passed over in silence, a suggestion for a name two
// letters off, a control character that ends or garbles the message, and a
// readable password file without (or a private one with) a warning.
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <functional>

#include "app/PreferencesFile.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/Controls.h"

namespace vantrel::testing {
namespace {

using SettingsWindowTest = MainWindowFixture;

// Everything the file's quoting treats specially.
const QString kPassword = QString::fromUtf8(" a;b#c\"d\\e f \u00fc=g, ");

// The logging page's keys are read back by a window made afresh from the file.
TEST_F(SettingsWindowTest, OkChecksStoresAndAppliesAtOnceAndCancelStoresNothing) {
    startProgram();
    std::function<void(QDialog&)> user;
    modal = [&](QDialog& dialog) { user(dialog); };
    user = [&](QDialog& dialog) {
        EXPECT_EQ(Find<QListWidget>(dialog, "lstPages").item(0)->text(), "MQTT");
        EXPECT_EQ(Find<QLineEdit>(dialog, "txtMqttHost").text(), "localhost");
        Find<QGroupBox>(dialog, "FrameMqtt").setChecked(true);
        // A letter in a number box is refused rather than dropped.
        TypeInto(Find(dialog, "spnMqttPort"), "1x");
        QCoreApplication::processEvents();
        Find<QLineEdit>(dialog, "txtMqttStation").setText("rig 1");
        Find<QPushButton>(dialog, "cmdOK").click();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        Find<QLineEdit>(dialog, "txtMqttStation").setText(" rig_1 ");
        Find<QLineEdit>(dialog, "txtMqttPassword").setText(kPassword);
        Find<QComboBox>(dialog, "cmbMqttPayload").setCurrentIndex(2);
        Find<QListWidget>(dialog, "lstPages").setCurrentRow(1);
        Find<QComboBox>(dialog, "cmbLogSplit").setCurrentIndex(2);
        TypeInto(Find(dialog, "spnLogSplitSize"), "64x");
        QCoreApplication::processEvents();
        // No more than the file takes back without a message.
        Find<QSpinBox>(dialog, "spnLogLowSpace").setValue(2000000000);
        Find<QCheckBox>(dialog, "chkLogResume").setChecked(true);
        // A decimal comma beside File > Save's separator, which may be a comma.
        Find<QComboBox>(dialog, "cmbLogDecimal").setCurrentIndex(1);
        Find<QPushButton>(dialog, "cmdOK").click();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        Find<QComboBox>(dialog, "cmbLogSeparator").setCurrentIndex(2);
        Find<QComboBox>(dialog, "cmbLogStatistics").setCurrentIndex(2);
        Find<QCheckBox>(dialog, "chkLogHeaderUnits").setChecked(true);
        Find<QPushButton>(dialog, "cmdOK").click();
    };
    Find<QAction>(*window, "OptionsSettings").trigger();
    ASSERT_EQ(dialogs.messages.size(), 4u);
    EXPECT_EQ(dialogs.messages[0].text,
              "Port: \"1x\" is not accepted.\nAllowed: a whole number from 1 to 65535.");
    EXPECT_EQ(dialogs.messages[1].text,
              "The station name may hold only letters, digits, '-' and '_'.");
    EXPECT_EQ(
        dialogs.messages[2].text,
        "Split size: \"64x\" is not accepted.\nAllowed: a whole number from 1 to 1073741824.");
    EXPECT_EQ(dialogs.messages[3].text,
              "A decimal comma needs a separator other than a comma: choose semicolon, tab, "
              "space or four spaces.");
    const QByteArray stored = QByteArray::fromStdString(startFolderFile("vantrel.ini"));
    EXPECT_TRUE(stored.contains("station=rig_1\n") && stored.contains("enabled=true\n") &&
                stored.contains("port=1\n"));
    EXPECT_TRUE(stored.contains("payload=influx\n"));
    EXPECT_TRUE(stored.contains("[logging]\n") && stored.contains("split=size\n") &&
                stored.contains("split_size_kb=64\n") && stored.contains("resume=true\n") &&
                stored.contains("low_space_mb=1073741824\n") &&
                stored.contains("statistics=min_max_mean\n") &&
                stored.contains("decimal=comma\n") && stored.contains("separator=semicolon\n") &&
                stored.contains("header_units=true\n"));
    EXPECT_EQ(
        QFile::permissions(folder.filePath("vantrel.ini")) & (QFile::ReadGroup | QFile::ReadOther),
        QFile::Permissions());
    const PreferencesReading reading = LoadPreferences(state().AppDir);
    EXPECT_EQ(reading.preferences.mqtt.password, kPassword.toStdString());
    EXPECT_EQ(reading.message, "");
    // Applied without a restart.
    Tick(Find(*window, "frmStatus"), "tmrStatus");
    EXPECT_EQ(Find<QLabel>(*window, "lblMqtt").text(), "MQTT: connecting\u2026");

    makeWindow();
    startProgram();
    user = [](QDialog& dialog) {
        EXPECT_EQ(Find<QLineEdit>(dialog, "txtMqttStation").text(), "rig_1");
        EXPECT_EQ(Find<QComboBox>(dialog, "cmbMqttPayload").currentIndex(), 2);
        EXPECT_EQ(Find<QSpinBox>(dialog, "spnLogSplitSize").value(), 64);
        EXPECT_TRUE(Find<QSpinBox>(dialog, "spnLogSplitSize").isEnabled());
        Find<QLineEdit>(dialog, "txtMqttHost").setText("elsewhere");
        Find<QPushButton>(dialog, "cmdCancel").click();
    };
    Find<QAction>(*window, "OptionsSettings").trigger();
    EXPECT_EQ(QByteArray::fromStdString(startFolderFile("vantrel.ini")), stored);
    user = [](QDialog& dialog) {
        EXPECT_EQ(Find<QLineEdit>(dialog, "txtMqttHost").text(), "localhost");
        Find<QPushButton>(dialog, "cmdCancel").click();
    };
    Find<QAction>(*window, "OptionsSettings").trigger();
}

TEST_F(SettingsWindowTest, StartUpSaysOnceWhatCannotBeUsedAndLeavesTheFileAlone) {
    const struct {
        const char* contents;  // nothing: a folder in the file's place
        const char* message;
    } cases[] = {
        // Each kind of problem's text is checked where the file is read.
        {"[mqtt]\nport=1883x\nintervall_ms=0\n[logging]\nsplit_size_kb=0\ndecimal=comma\n"
         "separator=comma\n",
         "vantrel.ini holds values that cannot be used:\n"
         "[mqtt] port: \"1883x\" is not valid, 1883 is used instead.\n"
         "[mqtt] intervall_ms: no such setting, ignored. Did you mean interval_ms?\n"
         "[logging] split_size_kb: \"0\" is not valid, 1 is used instead.\n"
         "[logging] decimal: \"comma\" is not valid (a decimal comma needs separator = "
         "semicolon, tab, space or four_spaces), point is used instead."},
        {nullptr,
         "vantrel.ini cannot be read: it cannot be opened. Every setting in it takes its "
         "default until it is saved again from Options > Settings."},
    };
    for (const auto& c : cases) {
        QTemporaryDir start;
        const QString ini = start.filePath("vantrel.ini");
        if (c.contents != nullptr) {
            QFile file(ini);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.contents);
        } else {
            ASSERT_TRUE(QDir(start.path()).mkdir("vantrel.ini"));
        }
        const QDateTime written = QFileInfo(ini).lastModified();
        dialogs.nonBlockingMessages.clear();
        makeWindow(start.path());
        startProgram();
        ASSERT_EQ(dialogs.nonBlockingMessages.size(), 1u);
        EXPECT_EQ(dialogs.nonBlockingMessages[0].text, c.message);
        modal = [](QDialog& dialog) {
            EXPECT_EQ(Find<QSpinBox>(dialog, "spnMqttPort").value(), 1883);
            Find<QPushButton>(dialog, "cmdCancel").click();
        };
        Find<QAction>(*window, "OptionsSettings").trigger();
        EXPECT_EQ(QFileInfo(ini).lastModified(), written);
    }
}

TEST(PreferencesFileTest, StartUpNamesEveryTypoCutValueAndReadablePassword) {
    using namespace std::string_literals;
    constexpr QFile::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner;
    constexpr QFile::Permissions kShared = kPrivate | QFile::ReadGroup | QFile::ReadOther;
    const std::string head = "vantrel.ini holds values that cannot be used:\n";
    const struct {
        std::string contents;
        QFile::Permissions permissions;
        std::string message;  // after the file's name: the warning
        std::string password{};
    } cases[] = {
        {"[logging]\nspilt=size\nresume=ture\n", kShared,
         head + "[logging] resume: \"ture\" is not valid, false is used instead.\n"
                "[logging] spilt: no such setting, ignored. Did you mean split?"},
        {"[Logging]\nsplit=size\n[mqqt]\nhost=x\n", kShared,
         head + "[Logging]: no such section, ignored. Did you mean [logging]?\n"
                "[mqqt]: no such section, ignored. Did you mean [mqtt]?"},
        {"split=size\ncolour=red\n[General]\nPort=1\n[mqtt]\nprto=1\nHOST=x\n", kShared,
         head + "[mqtt] HOST: no such setting, ignored. Did you mean host?\n"
                "[mqtt] prto: no such setting, ignored.\n"
                "Port: a key before any section, ignored. Did you mean [mqtt] port?\n"
                "colour: a key before any section, ignored.\n"
                "split: a key before any section, ignored. Did you mean [logging] split?"},
        {"[mqtt]\nport=1\0\t\x1b[2J\nqos=7\n#port=5\n"s, kShared,
         head + "[mqtt] port: \"1\\0\\t\\x1b[2J\" is not valid, 1883 is used instead.\n"
                "[mqtt] qos: \"7\" is not valid, 1 is used instead."},
        {"[mqtt]\npassword=right;pass\nport=1883 ; the default\n", kPrivate,
         head + "[mqtt] password: the value ends at a ';', which starts a comment; put the whole "
                "value in double quotes to keep the ';' and what follows it.",
         "right"},
        {"[mqtt]\npassword=\"right;pass\" ; quoted\n", kPrivate, "", "right;pass"},
        {"[mqtt]\npassword=a#b c\n#password=old;er\n", kPrivate, "", "a#b c"},
        {"\xEF\xBB\xBF[mqtt]\npassword=\"a\\\";b\"\n", kPrivate, "", "a\";b"},
        {"[general]\npassword=x;y\n", kPrivate,
         head + "password: a key before any section, ignored. Did you mean [mqtt] password?\n"
                "password: the value ends at a ';', which starts a comment; put the whole value "
                "in double quotes to keep the ';' and what follows it."},
        {"[mqtt]\npassword=a\"b\n[logging]\nresume=on\n", kPrivate,
         head + "[mqtt] password: a '\"' in the value is not closed on its line, so the lines "
                "after it are read into the value; write \\\" for a quote mark inside a value.",
         "ab\n[logging]\nresume=on\n"},
        {"[alarms]\nrule2=CH3 above 8O\n", kShared,
         head + "[alarms] rule2: \"CH3 above 8O\" is not valid (8O is not a number), nothing "
                "is used instead."},
        {"[mqtt]\npassword=s3cret\n", kShared, "\n", "s3cret"},
        {"[mqtt]\npassword=s3cret\n", kPrivate | QFile::ReadGroup, "\n", "s3cret"},
        {"[mqtt]\npassword=s3cret\n", kPrivate, "", "s3cret"},
    };
    for (const auto& c : cases) {
        // A folder name the shell needs quoted for the chmod to work.
        QTemporaryDir start;
        ASSERT_TRUE(QDir(start.path()).mkdir("rig 'a'"));
        const QString folder = start.filePath("rig 'a'");
        const QString path = folder + "/vantrel.ini";
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.contents.data(), static_cast<qint64>(c.contents.size()));
        file.close();
        ASSERT_TRUE(file.setPermissions(c.permissions));
        const PreferencesReading reading = LoadPreferences(folder.toStdString());
        std::string expected = c.message;
        if (expected.ends_with('\n')) {
            const std::string in = start.path().toStdString();
            expected.pop_back();
            expected += in +
                        "/rig 'a'/vantrel.ini holds the MQTT password and other users can "
                        "read it; make it readable by you only: chmod 600 '" +
                        in + "/rig '\\''a'\\''/vantrel.ini'";
        }
        EXPECT_EQ(reading.message, expected) << c.contents;
        EXPECT_EQ(reading.preferences.mqtt.password, c.password) << c.contents;
    }
}

}  // namespace
}  // namespace vantrel::testing
