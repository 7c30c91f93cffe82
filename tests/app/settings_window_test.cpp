// Guards Options > Settings and vantrel.ini: a broken station accepted by OK, a
// Cancel that stores, a password written where others can read it, settings that
// need a restart, and at start-up a bad value used, a message per problem instead
// of one, or a file rewritten behind the user's back.
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

#include "tests/app/MainWindowFixture.h"
#include "tests/support/Controls.h"

namespace vantrel::testing {
namespace {

using SettingsWindowTest = MainWindowFixture;

TEST_F(SettingsWindowTest, OkChecksStoresAndAppliesAtOnceAndCancelStoresNothing) {
    window->Form_Load();
    std::function<void(QDialog&)> user;
    modal = [&](QDialog& dialog) { user(dialog); };
    user = [&](QDialog& dialog) {
        EXPECT_EQ(Find<QListWidget>(dialog, "lstPages").item(0)->text(), "MQTT");
        EXPECT_EQ(Find<QLineEdit>(dialog, "txtMqttHost").text(), "localhost");
        Find<QGroupBox>(dialog, "FrameMqtt").setChecked(true);
        Find<QSpinBox>(dialog, "spnMqttPort").setValue(1);
        Find<QLineEdit>(dialog, "txtMqttStation").setText("rig 1");
        Find<QPushButton>(dialog, "cmdOK").click();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        Find<QLineEdit>(dialog, "txtMqttStation").setText(" rig_1 ");
        Find<QLineEdit>(dialog, "txtMqttPassword").setText("s3cret");
        Find<QPushButton>(dialog, "cmdOK").click();
    };
    Find<QAction>(*window, "OptionsSettings").trigger();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              "The station name may hold only letters, digits, '-' and '_'.");
    QFile file(folder.filePath("vantrel.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    EXPECT_TRUE(stored.contains("station=rig_1\n") && stored.contains("password=s3cret\n") &&
                stored.contains("enabled=true\n"));
    EXPECT_EQ(file.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    // Applied without a restart.
    Tick(Find(*window, "frmStatus"), "tmrStatus");
    EXPECT_EQ(Find<QLabel>(*window, "lblMqtt").text(), "MQTT: connecting\u2026");

    user = [](QDialog& dialog) {
        EXPECT_EQ(Find<QLineEdit>(dialog, "txtMqttStation").text(), "rig_1");
        Find<QLineEdit>(dialog, "txtMqttHost").setText("elsewhere");
        Find<QPushButton>(dialog, "cmdCancel").click();
    };
    Find<QAction>(*window, "OptionsSettings").trigger();
    file.seek(0);
    EXPECT_EQ(file.readAll(), stored);
    user = [](QDialog& dialog) {
        EXPECT_EQ(Find<QLineEdit>(dialog, "txtMqttHost").text(), "localhost");
        Find<QPushButton>(dialog, "cmdCancel").click();
    };
    Find<QAction>(*window, "OptionsSettings").trigger();
}

TEST_F(SettingsWindowTest, TheLoggingPageStoresItsKeysAsTheyAreReadBack) {
    window->Form_Load();
    modal = [](QDialog& dialog) {
        Find<QListWidget>(dialog, "lstPages").setCurrentRow(1);
        Find<QComboBox>(dialog, "cmbLogSplit").setCurrentIndex(2);
        Find<QSpinBox>(dialog, "spnLogSplitSize").setValue(64);
        Find<QCheckBox>(dialog, "chkLogResume").setChecked(true);
        Find<QPushButton>(dialog, "cmdOK").click();
    };
    Find<QAction>(*window, "OptionsSettings").trigger();
    QFile file(folder.filePath("vantrel.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray stored = file.readAll();
    EXPECT_TRUE(stored.contains("[logging]\n") && stored.contains("split=size\n") &&
                stored.contains("split_size_kb=64\n") && stored.contains("resume=true\n"));
    modal = [](QDialog& dialog) {
        EXPECT_EQ(Find<QSpinBox>(dialog, "spnLogSplitSize").value(), 64);
        EXPECT_TRUE(Find<QSpinBox>(dialog, "spnLogSplitSize").isEnabled());
        Find<QPushButton>(dialog, "cmdCancel").click();
    };
    makeWindow();
    window->Form_Load();
    Find<QAction>(*window, "OptionsSettings").trigger();
}

TEST_F(SettingsWindowTest, StartUpSaysOnceWhatCannotBeUsedAndLeavesTheFileAlone) {
    const struct {
        const char* contents;  // nothing: a folder in the file's place
        const char* message;
    } cases[] = {
        {"[mqtt]\nenabled=perhaps\nport=99999\nqos=1\nintervall_ms=0\n",
         "vantrel.ini holds values that cannot be used:\n"
         "[mqtt] enabled: \"perhaps\" is not valid, false is used instead.\n"
         "[mqtt] port: \"99999\" is not valid, 1883 is used instead.\n"
         "[mqtt] intervall_ms: no such setting, ignored."},
        {nullptr,
         "vantrel.ini cannot be read: it cannot be opened. Every setting in it takes its "
         "default until it is saved again from Options > Settings."},
    };
    for (const auto& c : cases) {
        QTemporaryDir start;
        state.AppDir = start.path().toStdString();
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
        makeWindow();
        window->Form_Load();
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

}  // namespace
}  // namespace vantrel::testing
