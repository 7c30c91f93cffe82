#include "setup/ui/frmConfig.h"

#include <gtest/gtest.h>

#include "setup/ConfigFile.h"
#include "tests/engine/TempFolder.h"
#include "tests/support/FakeDialogs.h"

namespace vantrel {
namespace {

using testing::FakeDialogs;
using testing::TempFolder;

class FrmConfigTest : public ::testing::Test {
  protected:
    std::unique_ptr<frmConfig> open(int card) {
        state.SelectedCard = static_cast<std::int16_t>(card);
        return std::make_unique<frmConfig>(state, dialogs);
    }

    AcquisitionState state;
    FakeDialogs dialogs;
    TempFolder folder;
};

TEST_F(FrmConfigTest, DefaultsShowForEitherCard) {
    for (int card : {0, 1}) {
        auto window = open(card);
        EXPECT_EQ(window->windowTitle(),
                  card == 0 ? "Card Configuration - Card 1" : "Card Configuration - Card 2");
        for (int c = 0; c < kChannelsPerCard; ++c) {
            EXPECT_EQ(window->FrameAnalog[c]->title(), QStringLiteral("Analog Input %1").arg(c));
            EXPECT_EQ(window->cmbInputType[c]->currentText(), "+/- 10V");
            EXPECT_EQ(window->txtInputRange[c]->text(), "10");
        }
        for (int d = 0; d < kLinesPerCard; ++d) {
            EXPECT_EQ(window->FrameDIO[d]->title(),
                      QStringLiteral("Digital Input/Output %1").arg(d));
            EXPECT_TRUE(window->optDIOInput[d]->isChecked());
            EXPECT_FALSE(window->optDIOOutput[d]->isChecked());
        }
        EXPECT_FALSE(window->cmdSave[1]->isEnabled());
        EXPECT_TRUE(window->cmdSave[0]->isEnabled());
    }
}

TEST_F(FrmConfigTest, InputTypesAreListedInCodeOrder) {
    auto window = open(0);
    const QStringList expected = {"+/- 10V", "0 ~ 20 mA", "4 ~ 20 mA", "0 ~ 200 mV",
                                  "PT-100",  "T/C - J",   "T/C - K"};
    QStringList shown;
    for (int i = 0; i < window->cmbInputType[3]->count(); ++i) {
        shown << window->cmbInputType[3]->itemText(i);
    }
    EXPECT_EQ(shown, expected);
}

TEST_F(FrmConfigTest, OpeningShowsTheStoredValuesOfTheSelectedCard) {
    state.InputType[10] = 5;
    state.InputRange[10] = 2.5;
    state.DigitalDirection[19] = kLineOutput;
    state.InputType[2] = 6;  // card 1's, must not show for card 2
    auto window = open(1);
    EXPECT_EQ(window->cmbInputType[2]->currentText(), "T/C - J");
    EXPECT_EQ(window->txtInputRange[2]->text(), "2.5");
    EXPECT_TRUE(window->optDIOOutput[3]->isChecked());
    EXPECT_TRUE(window->optDIOInput[2]->isChecked());
}

TEST_F(FrmConfigTest, LineDirectionSurvivesSaveAndReopen) {
    {
        auto window = open(0);
        window->optDIOOutput[3]->setChecked(true);
        window->cmdSave_Click(0);
    }
    for (int g = 0; g < kLineArraySize; ++g) {
        EXPECT_EQ(state.DigitalDirection[g], g == 3 ? kLineOutput : kLineInput) << g;
    }
    auto reopened = open(0);
    for (int d = 0; d < kLinesPerCard; ++d) {
        EXPECT_EQ(reopened->optDIOOutput[d]->isChecked(), d == 3) << d;
    }
}

TEST_F(FrmConfigTest, RangeTextsAreReadLenientlyAndShownAgain) {
    const std::array<std::pair<const char*, const char*>, 4> cases = {
        {{"12.5 V", "12.5"}, {"abc", "0"}, {"  7", "7"}, {"1 5", "15"}}};
    {
        auto window = open(0);
        for (std::size_t c = 0; c < cases.size(); ++c) {
            window->txtInputRange[c]->setText(cases[c].first);
        }
        window->cmbInputType[0]->setCurrentText("T/C - K");
        window->cmdSave_Click(0);
    }
    EXPECT_EQ(state.InputType[0], 6);
    auto reopened = open(0);
    for (std::size_t c = 0; c < cases.size(); ++c) {
        EXPECT_EQ(reopened->txtInputRange[c]->text(), cases[c].second) << cases[c].first;
    }
}

TEST_F(FrmConfigTest, CardTwoSavesOnlyItsOwnSlots) {
    auto window = open(1);
    for (int c = 0; c < kChannelsPerCard; ++c) {
        window->cmbInputType[c]->setCurrentIndex(1 + c % 6);
        window->txtInputRange[c]->setText(QString::number(100 + c));
    }
    for (int d = 0; d < kLinesPerCard; ++d) {
        window->optDIOOutput[d]->setChecked(true);
    }
    const AcquisitionState before = state;
    // The second button does what the first does, whatever its availability.
    window->cmdSave_Click(1);

    for (int g = 0; g < kConfigArraySize; ++g) {
        const bool cardTwo = g >= 8 && g < 16;
        EXPECT_EQ(state.InputType[g], cardTwo ? 1 + (g - 8) % 6 : before.InputType[g]) << g;
        EXPECT_EQ(state.InputRange[g], cardTwo ? 100 + (g - 8) : before.InputRange[g]) << g;
    }
    for (int g = 0; g < kLineArraySize; ++g) {
        const bool cardTwo = g >= 16 && g < 32;
        EXPECT_EQ(state.DigitalDirection[g], cardTwo ? kLineOutput : kLineInput) << g;
    }
}

TEST_F(FrmConfigTest, SaveWritesToTheCardChosenLast) {
    state.InputRange[0] = 5;
    auto window = open(0);
    state.SelectedCard = 1;  // the user picks "Card 2 Configuration" meanwhile
    window->cmdSave_Click(0);
    EXPECT_EQ(window->windowTitle(), "Card Configuration - Card 1");
    EXPECT_EQ(state.InputRange[8], 5);
    EXPECT_EQ(state.InputRange[0], 5);
}

TEST_F(FrmConfigTest, SaveToDiskWritesWhatTheWindowShows) {
    auto window = open(0);
    window->cmbInputType[0]->setCurrentIndex(4);
    window->txtInputRange[1]->setText("1,5");
    for (int d = 8; d < kLinesPerCard; ++d) {
        window->optDIOOutput[d]->setChecked(true);
    }
    const std::string path = folder.file("card.cfg");
    dialogs.saveAnswers.push_back(path);
    window->cmdSaveToDisk_Click();

    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].filter, "Config Files (*.cfg)|*.cfg");
    EXPECT_EQ(dialogs.saveRequests[0].defaultExtension, "cfg");
    EXPECT_EQ(folder.read("card.cfg"),
              "00FF\r\n40000000\r\n10\r\n\"1,5\"\r\n10\r\n10\r\n10\r\n10\r\n10\r\n10\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(state.InputType[0], 0) << "the shared state is not touched";
}

TEST_F(FrmConfigTest, LoadFromDiskFillsOnlyTheControls) {
    folder.write("mixed.cfg", "8000\r\n0123\r\n1\r\n\"2,5\"\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    auto window = open(1);
    dialogs.openAnswers.push_back(folder.file("mixed.cfg"));
    const AcquisitionState before = state;
    window->cmdLoadFromDisk_Click();

    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].filter, "Config Files (*.cfg)|*.cfg");
    EXPECT_TRUE(dialogs.messages.empty());
    for (int d = 0; d < kLinesPerCard; ++d) {
        EXPECT_EQ(window->optDIOInput[d]->isChecked(), d == 15) << d;
    }
    for (int c = 0; c < kChannelsPerCard; ++c) {
        EXPECT_EQ(window->cmbInputType[c]->currentIndex(), c < 4 ? c : 0) << c;
    }
    EXPECT_EQ(window->txtInputRange[1]->text(), "2,5");
    EXPECT_EQ(window->txtInputRange[7]->text(), "8");
    EXPECT_EQ(state.InputType, before.InputType);
    EXPECT_EQ(state.InputRange, before.InputRange);
    EXPECT_EQ(state.DigitalDirection, before.DigitalDirection);
}

TEST_F(FrmConfigTest, DefaultsRoundTripThroughDiskIntoAChangedWindow) {
    auto window = open(0);
    dialogs.saveAnswers.push_back(folder.file("defaults.cfg"));
    window->cmdSaveToDisk_Click();
    window->cmbInputType[2]->setCurrentIndex(5);
    window->txtInputRange[6]->setText("3");
    window->optDIOOutput[9]->setChecked(true);

    dialogs.openAnswers.push_back(folder.file("defaults.cfg"));
    window->cmdLoadFromDisk_Click();
    EXPECT_EQ(window->cmbInputType[2]->currentIndex(), 0);
    EXPECT_EQ(window->txtInputRange[6]->text(), "10");
    EXPECT_TRUE(window->optDIOInput[9]->isChecked());
}

TEST_F(FrmConfigTest, BadFileChangesNothingAndSaysWhy) {
    folder.write("bad.cfg", "0000\r\n00090000\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    auto window = open(0);
    window->txtInputRange[0]->setText("42");
    dialogs.openAnswers.push_back(folder.file("bad.cfg"));
    window->cmdLoadFromDisk_Click();

    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("Line 2"), std::string::npos);
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Critical);
    EXPECT_EQ(window->txtInputRange[0]->text(), "42");
    for (int d = 0; d < kLinesPerCard; ++d) {
        EXPECT_TRUE(window->optDIOInput[d]->isChecked()) << d;
    }
}

TEST_F(FrmConfigTest, MissingFileIsReported) {
    auto window = open(0);
    dialogs.openAnswers.push_back(folder.file("absent.cfg"));
    window->cmdLoadFromDisk_Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("absent.cfg"), std::string::npos);
}

TEST_F(FrmConfigTest, CancelledDialogsDoNothing) {
    auto window = open(0);
    window->cmdSaveToDisk_Click();
    window->cmdLoadFromDisk_Click();
    EXPECT_EQ(folder.entryCount(), 0u);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(window->txtInputRange[0]->text(), "10");
}

TEST_F(FrmConfigTest, WriteFailureIsReported) {
    auto window = open(0);
    dialogs.saveAnswers.push_back(folder.file("no-such-folder/card.cfg"));
    window->cmdSaveToDisk_Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, platform::MessageIcon::Critical);
}

TEST_F(FrmConfigTest, UnknownStoredTypeShowsNoEntryAndIsNotWrittenToDisk) {
    state.InputType[4] = 9;
    auto window = open(0);
    EXPECT_EQ(window->cmbInputType[4]->currentIndex(), -1);
    window->cmdSaveToDisk_Click();
    EXPECT_TRUE(dialogs.saveRequests.empty());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_NE(dialogs.messages[0].text.find("input 4"), std::string::npos);
}

}  // namespace
}  // namespace vantrel
