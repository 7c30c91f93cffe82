// Guards the port dialog: a list entry off by one at either end ("COM 1" to
// "COM 255"), vtrl.con not written in its print style on OK, one port accepted for
// both cards, and a write failure that does not end the program.
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <string>

#include "tests/app/MainWindowFixture.h"
#include "tests/support/Controls.h"

namespace vantrel::testing {
namespace {

class PortDialogTest : public MainWindowFixture {
  protected:
    QWidget& open() {
        window->show();
        Find<QAction>(*window, "OptionsCardComm").trigger();
        return Find(*window, "frmCardComm");
    }
    QByteArray portFile() {
        QFile file(folder.filePath("vtrl.con"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "<missing>";
    }
};

TEST_F(PortDialogTest, OkWritesThePortFileButNeverOnePortForBothCards) {
    QWidget& dialog = open();
    auto& card1 = Find<QComboBox>(dialog, "cmbComm", 0);
    auto& card2 = Find<QComboBox>(dialog, "cmbComm", 1);
    ASSERT_EQ(card1.count(), 255);
    EXPECT_EQ(card1.itemText(0), "COM 1");
    EXPECT_EQ(card1.itemText(254), "COM 255");
    card1.setCurrentIndex(2);
    card2.setEditText("COM 3");
    Find<QPushButton>(dialog, "cmdOK").click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("card 2"), std::string::npos);
    EXPECT_EQ(portFile(), "<missing>");

    card2.setEditText("COM 14");
    Find<QPushButton>(dialog, "cmdOK").click();
    EXPECT_EQ(portFile(), " 3 \r\n 14 \r\n");
    EXPECT_EQ(state.ComPort1, 3);
    EXPECT_EQ(state.ComPort2, 14);
}

TEST_F(PortDialogTest, AWriteFailureIsReportedAndEndsTheProgramThroughShutDown) {
    window->Form_Load();
    QWidget& dialog = open();
    state.AppDir = folder.filePath("missing").toStdString();
    cm.sent.clear();
    Find<QPushButton>(dialog, "cmdOK").click();
    ASSERT_GE(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("vtrl.con"), std::string::npos);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(cm.sent, std::vector<std::string>{"@F\r"});
}

}  // namespace
}  // namespace vantrel::testing
