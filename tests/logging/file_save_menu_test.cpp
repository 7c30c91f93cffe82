// File > Save and the logger tick inside the main window: the save options window
// opens modal over the main window, the check mark follows the logging state, and
// each tick of tmrSave goes to the logger.
#include <unistd.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/frmStatus.h"
#include "logging/ui/frmSave.h"
#include "tests/app/MainWindowFixture.h"

namespace vantrel::testing {
namespace {

namespace fs = std::filesystem;

class FileSaveMenuTest : public MainWindowFixture {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        folder = fs::temp_directory_path() /
                 ("vantrel_menu_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        state.LogFileName = (folder / "run.csv").string();
        state.SaveChannel[2] = true;
        state.ChannelValue[2] = 3.5f;
        state.LogIntervalChoice = 1;
        state.LogStampStyle = 1;
        clock.current = {2026, 12, 6, 9, 0, 0};

        window->setModalRunner([this](QDialog& dialog) {
            if (auto* about = qobject_cast<frmAbout*>(&dialog)) {
                about->Timer1_Timer();
            } else if (auto* save = qobject_cast<frmSave*>(&dialog)) {
                saveSeenModal = save->isModal();
                saveSeenParent = save->parentWidget();
                if (onSave) {
                    onSave(*save);
                }
            }
        });
        window->Form_Load();
    }
    void TearDown() override {
        window.reset();
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }

    std::string LogContents() const {
        std::ifstream in(state.LogFileName, std::ios::binary);
        std::ostringstream contents;
        contents << in.rdbuf();
        return contents.str();
    }

    // File > Save as the user picks it from the menu.
    void ChooseFileSave(std::function<void(frmSave&)> script) {
        onSave = std::move(script);
        window->FileSave->trigger();
    }

    fs::path folder;
    std::function<void(frmSave&)> onSave;
    bool saveSeenModal = false;
    QWidget* saveSeenParent = nullptr;
};

TEST_F(FileSaveMenuTest, OkStartsLoggingAndTheMenuShowsTheCheckMark) {
    ChooseFileSave([](frmSave& w) { w.cmdOK->click(); });

    EXPECT_TRUE(saveSeenModal);
    EXPECT_EQ(saveSeenParent, window.get());
    EXPECT_TRUE(state.Saving);
    EXPECT_TRUE(window->FileSave->isChecked());
    EXPECT_EQ(LogContents(), "SN,Channel 2\r\n");
}

TEST_F(FileSaveMenuTest, CancelLeavesTheCheckMarkOff) {
    ChooseFileSave([](frmSave& w) { w.cmdCancel->click(); });
    EXPECT_FALSE(state.Saving);
    EXPECT_FALSE(window->FileSave->isChecked());
}

TEST_F(FileSaveMenuTest, EmptyFileNameClearsTheCheckMarkOfARunningLog) {
    ChooseFileSave([](frmSave& w) { w.cmdOK->click(); });
    ASSERT_TRUE(window->FileSave->isChecked());

    ChooseFileSave([](frmSave& w) {
        w.txtFile->clear();
        w.cmdOK->click();
        w.cmdCancel->click();
    });

    EXPECT_FALSE(state.Saving);
    EXPECT_FALSE(window->FileSave->isChecked());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].title, "File Name Error");
}

TEST_F(FileSaveMenuTest, TheLoggerTicksOnAPreciseOneSecondTimer) {
    EXPECT_EQ(window->tmrSave->timerType(), Qt::PreciseTimer);
    EXPECT_EQ(window->tmrSave->interval(), 1000);
    EXPECT_TRUE(window->tmrSave->isActive());
}

TEST_F(FileSaveMenuTest, EachTickAppendsARecordWhileCardOneIsConnected) {
    ChooseFileSave([](frmSave& w) { w.cmdOK->click(); });
    window->tmrSave_Timer();
    state.CardConnected1 = true;
    window->tmrSave_Timer();
    state.ChannelValue[2] = -12345678.0f;
    window->tmrSave_Timer();
    EXPECT_EQ(LogContents(), "SN,Channel 2\r\n1,3.5\r\n2,-1.234568E+07\r\n");
}

TEST_F(FileSaveMenuTest, StatusWindowFollowsTheLoggerIncludingItsFailures) {
    state.CardConnected1 = true;
    ChooseFileSave([](frmSave& w) { w.cmdOK->click(); });
    ASSERT_NE(window->statusWindow, nullptr);
    window->statusWindow->tmrStatus_Timer();
    EXPECT_EQ(window->statusWindow->lblSave->text(), "Saving");

    // The folder disappears (a removed memory stick): records wait, the line says so.
    fs::remove_all(folder);
    window->tmrSave_Timer();
    window->statusWindow->tmrStatus_Timer();
    EXPECT_EQ(window->statusWindow->lblSave->text(), "Save error");
    EXPECT_EQ(dialogs.nonBlockingMessages.size(), 1u);

    fs::create_directories(folder);
    window->tmrSave_Timer();
    window->statusWindow->tmrStatus_Timer();
    EXPECT_EQ(window->statusWindow->lblSave->text(), "Saving");
    EXPECT_EQ(LogContents(), "1,3.5\r\n2,3.5\r\n");
}

}  // namespace
}  // namespace vantrel::testing
