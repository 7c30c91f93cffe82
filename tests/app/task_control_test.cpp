// The Task menu and shut-down on the main window. Guards against menus that do
// not switch at once, commands sent to the other card's port, and an "@N" that
// follows the "@F" of a shut-down chosen during the start pause. The start
// sequence itself is tested on the task sequencer.
#include <string>
#include <vector>

#include "tests/app/MainWindowFixture.h"

namespace vantrel::testing {
namespace {

using Wire = std::vector<std::string>;

class TaskControlTest : public MainWindowFixture {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        window->Form_Load();
        cm.sent.clear();
        cm2.sent.clear();
    }
};

TEST_F(TaskControlTest, OnlyCardTwoAnsweringStartsAndStopsOnlyCardTwo) {
    cm2.receive("V1.02\r");
    window->TaskStart->trigger();
    EXPECT_FALSE(window->TaskStart->isEnabled());
    EXPECT_TRUE(window->TaskStop->isEnabled());
    EXPECT_EQ(cm2.sent, Wire{"@TA00\r"});
    ASSERT_TRUE(delay->isActive());
    delay->tick();
    EXPECT_EQ(cm2.sent, (Wire{"@TA00\r", "@N\r"}));
    EXPECT_TRUE(state.TaskRunning2);

    window->TaskStop->trigger();
    EXPECT_EQ(cm2.sent, (Wire{"@TA00\r", "@N\r", "@F\r"}));
    EXPECT_TRUE(cm.sent.empty());
    EXPECT_TRUE(window->TaskStart->isEnabled());
    EXPECT_FALSE(window->TaskStop->isEnabled());
}

TEST_F(TaskControlTest, ClosingDuringTheStartPauseStopsTheCardsForGood) {
    state.CardConnected1 = true;
    state.CardConnected2 = true;
    window->TaskStart->trigger();
    window->close();
    EXPECT_FALSE(window->isVisible());
    delay->tick();
    EXPECT_EQ(cm.sent, (Wire{"@TA00\r", "@F\r"}));
    EXPECT_EQ(cm2.sent, Wire{"@F\r"});
}

using ShutDownTest = MainWindowFixture;

TEST_F(ShutDownTest, StopGoesToEveryOpenPortOnceEvenToACardThatNeverAnswered) {
    window->Form_Load();
    state.CardConnected2 = true;
    window->FileExit->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(cm.sent, (Wire{"?\r", "@F\r"}));
    EXPECT_EQ(cm2.sent, (Wire{"?\r", "@F\r"}));
    window->close();
    window->Form_Unload();
    EXPECT_EQ(cm.sent.size(), 2u);
    EXPECT_EQ(cm2.sent.size(), 2u);
}

TEST_F(ShutDownTest, UsesThePortsLiveOpenStateNotTheStartUpFlag) {
    cm2.openSucceeds = false;
    window->Form_Load();
    cm.close();
    state.PortOpen1 = true;
    window->close();
    EXPECT_EQ(cm.sent, Wire{"?\r"});
    EXPECT_TRUE(cm2.sent.empty());
}

}  // namespace
}  // namespace vantrel::testing
