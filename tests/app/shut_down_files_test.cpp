#include <QFile>
#include <QMdiSubWindow>
#include <string>

#include "app/frmCardComm.h"
#include "engine/ModMain.h"
#include "tests/app/MainWindowFixture.h"

namespace vantrel::testing {
namespace {

std::string readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return "<missing>";
    }
    return file.readAll().toStdString();
}

class SettingsFilesTest : public MainWindowFixture {
  protected:
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
};

TEST_F(SettingsFilesTest, ClosingWritesBothSettingsFilesAfterTheStopCommands) {
    window->Form_Load();
    state.InputType[3] = 5;
    state.LogFileName = "/tmp/run.csv";
    cm.sent.clear();
    window->close();
    EXPECT_EQ(cm.sent, std::vector<std::string>{"@F\r"});

    AcquisitionState expected = state;
    QTemporaryDir other;
    expected.AppDir = other.path().toStdString();
    ASSERT_FALSE(modMain::SaveChannelSettings(expected));
    ASSERT_FALSE(modMain::SaveLogSettings(expected));
    EXPECT_EQ(readFile(path("vtrlo.con")), readFile(other.filePath("vtrlo.con")));
    EXPECT_EQ(readFile(path("vtrls.con")), readFile(other.filePath("vtrls.con")));
    EXPECT_NE(readFile(path("vtrls.con")).find("\"/tmp/run.csv\"\r\n"), std::string::npos);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SettingsFilesTest, AFolderThatCannotBeWrittenIsReportedForEachFile) {
    state.AppDir = folder.filePath("missing").toStdString();
    window->close();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[0].text.find("vtrlo.con"), std::string::npos);
    EXPECT_NE(dialogs.messages[1].text.find("vtrls.con"), std::string::npos);
    EXPECT_EQ(dialogs.messages[0].title, "Vantrel");
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Critical);
}

TEST_F(SettingsFilesTest, PortDialogOkWritesThePortFileInPrintStyle) {
    window->show();
    window->OptionsCardComm_Click();
    frmCardComm* dialog = window->cardCommWindow;
    ASSERT_NE(dialog, nullptr);
    window->OptionsCardComm->trigger();
    EXPECT_EQ(window->cardCommWindow, dialog);
    dialog->cmbComm[0]->setCurrentIndex(2);
    dialog->cmbComm[1]->setEditText("COM 14");
    dialog->cmdOK_Click();
    EXPECT_EQ(readFile(path("vtrl.con")), " 3 \r\n 14 \r\n");
    EXPECT_EQ(state.ComPort1, 3);
    EXPECT_EQ(state.ComPort2, 14);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SettingsFilesTest, PortDialogCancelLeavesTheFileAndThePorts) {
    {
        QFile file(path("vtrl.con"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(" 5 \r\n 6 \r\n");
    }
    state.ComPort1 = 5;
    state.ComPort2 = 6;
    window->show();
    window->OptionsCardComm_Click();
    window->cardCommWindow->cmbComm[0]->setCurrentIndex(0);
    window->cardCommWindow->cmdCancel_Click();
    EXPECT_EQ(readFile(path("vtrl.con")), " 5 \r\n 6 \r\n");
    EXPECT_EQ(state.ComPort1, 5);
}

TEST_F(SettingsFilesTest, PortFileWriteFailureIsReportedAndEndsTheProgramThroughShutDown) {
    window->Form_Load();
    window->OptionsCardComm_Click();
    state.AppDir = folder.filePath("missing").toStdString();
    cm.sent.clear();
    window->cardCommWindow->cmdOK_Click();
    ASSERT_GE(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("vtrl.con"), std::string::npos);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(cm.sent, std::vector<std::string>{"@F\r"});
}

using ConversionMessageTest = MainWindowFixture;

TEST_F(ConversionMessageTest, OneBoxAtATimeTitledWithTheProgramAndSlot) {
    window->ShowConversionFailure({ConversionFailure::Kind::DivisionByZero, 3});
    window->ShowConversionFailure({ConversionFailure::Kind::Overflow, 4});
    ASSERT_EQ(dialogs.nonBlockingMessages.size(), 1u);
    EXPECT_EQ(dialogs.nonBlockingMessages[0].title, "Vantrel");
    EXPECT_EQ(dialogs.nonBlockingMessages[0].text,
              (ConversionFailure{ConversionFailure::Kind::DivisionByZero, 3}.message()));
    EXPECT_TRUE(dialogs.messages.empty());

    dialogs.closeNonBlocking();
    window->ShowConversionFailure({ConversionFailure::Kind::IndexOutOfRange, 9});
    ASSERT_EQ(dialogs.nonBlockingMessages.size(), 2u);
    EXPECT_EQ(dialogs.nonBlockingMessages[1].text,
              (ConversionFailure{ConversionFailure::Kind::IndexOutOfRange, 9}.message()));
}

TEST_F(ConversionMessageTest, FailuresOnTheReceivePathShowWithoutStackingBoxes) {
    // A PT-100 channel without its reference count divides by zero.
    state.InputType[2] = 4;
    state.CalRTD[2] = 0;
    const std::string frame = "+01000,+01000,+01000,+01000,+01000,+01000,+01000,+01000,+25.0\r";
    ASSERT_EQ(frame.size(), 62u);
    cm.receive(frame);
    cm.receive(frame);
    ASSERT_EQ(dialogs.nonBlockingMessages.size(), 1u);
    EXPECT_EQ(dialogs.nonBlockingMessages[0].text,
              (ConversionFailure{ConversionFailure::Kind::DivisionByZero, 2}.message()));
    // The receive path went on: the second frame was taken too.
    EXPECT_EQ(window->cardLink(0).counters().analogFrames, 2u);
    // The same fault, still there after the box was closed, is not shown again.
    dialogs.closeNonBlocking();
    cm.receive(frame);
    EXPECT_EQ(dialogs.nonBlockingMessages.size(), 1u);
}

TEST_F(ConversionMessageTest, ClosingTheBoxAfterTheWindowIsGoneIsHarmless) {
    window->ShowConversionFailure({ConversionFailure::Kind::Overflow, 1});
    window.reset();
    dialogs.closeNonBlocking();
    SUCCEED();
}

}  // namespace
}  // namespace vantrel::testing
