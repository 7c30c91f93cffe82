#include <QTimer>
#include <string>
#include <utility>
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

TEST_F(TaskControlTest, BothCardsGetTheirWholeSequenceCardOneFirst) {
    state.CardConnected1 = true;
    state.CardConnected2 = true;
    // What each port had received each time the start waited.
    std::vector<std::pair<Wire, Wire>> atWait;
    duringWait = [&] {
        EXPECT_FALSE(window->DelayElapsed);
        EXPECT_TRUE(window->tmrDelay->isActive());
        EXPECT_EQ(window->tmrDelay->interval(), 100);
        EXPECT_FALSE(window->TaskStart->isEnabled());
        EXPECT_TRUE(window->TaskStop->isEnabled());
        atWait.emplace_back(cm.sent, cm2.sent);
    };
    window->TaskStart_Click();

    ASSERT_EQ(atWait.size(), 2u);
    EXPECT_EQ(atWait[0], std::make_pair(Wire{"@TA00\r"}, Wire{}));
    EXPECT_EQ(atWait[1], std::make_pair(Wire{"@TA00\r", "@N\r"}, Wire{"@TA00\r"}));
    EXPECT_EQ(cm.sent, (Wire{"@TA00\r", "@N\r"}));
    EXPECT_EQ(cm2.sent, (Wire{"@TA00\r", "@N\r"}));
    EXPECT_TRUE(state.TaskRunning1);
    EXPECT_TRUE(state.TaskRunning2);
    EXPECT_FALSE(window->TaskStart->isEnabled());
    EXPECT_TRUE(window->TaskStop->isEnabled());
    EXPECT_FALSE(window->tmrDelay->isActive());
}

TEST_F(TaskControlTest, OnlyCardTwoAnsweringStartsOnlyCardTwo) {
    cm2.receive("V1.");
    cm2.receive("02\r");
    ASSERT_TRUE(state.CardConnected2);
    ASSERT_FALSE(state.CardConnected1);
    window->TaskStart_Click();
    EXPECT_EQ(waits, 1);
    EXPECT_TRUE(cm.sent.empty());
    EXPECT_EQ(cm2.sent, (Wire{"@TA00\r", "@N\r"}));
    EXPECT_FALSE(state.TaskRunning1);
    EXPECT_TRUE(state.TaskRunning2);
    EXPECT_FALSE(window->TaskStart->isEnabled());
    EXPECT_TRUE(window->TaskStop->isEnabled());
}

TEST_F(TaskControlTest, StopSendsToEveryConnectedCardWhetherOrNotItsTaskRan) {
    state.CardConnected1 = true;
    state.CardConnected2 = true;
    state.TaskRunning1 = true;
    window->TaskStop_Click();
    EXPECT_EQ(cm.sent, Wire{"@F\r"});
    EXPECT_EQ(cm2.sent, Wire{"@F\r"});
    EXPECT_FALSE(state.TaskRunning1);
    EXPECT_FALSE(state.TaskRunning2);
    EXPECT_TRUE(window->TaskStart->isEnabled());
    EXPECT_FALSE(window->TaskStop->isEnabled());
}

TEST_F(TaskControlTest, StartThenStopFlipsTheMenusBack) {
    state.CardConnected1 = true;
    window->TaskStart->trigger();
    window->TaskStop->trigger();
    EXPECT_EQ(cm.sent, (Wire{"@TA00\r", "@N\r", "@F\r"}));
    EXPECT_TRUE(cm2.sent.empty());
    EXPECT_TRUE(window->TaskStart->isEnabled());
    EXPECT_FALSE(window->TaskStop->isEnabled());
    EXPECT_FALSE(state.TaskRunning1);
}

TEST_F(TaskControlTest, WithoutConnectedCardsNeitherChoiceChangesAnything) {
    window->TaskStart_Click();
    window->TaskStop_Click();
    EXPECT_EQ(waits, 0);
    EXPECT_TRUE(cm.sent.empty());
    EXPECT_TRUE(cm2.sent.empty());
    EXPECT_TRUE(window->TaskStart->isEnabled());
    EXPECT_FALSE(window->TaskStop->isEnabled());
}

TEST_F(TaskControlTest, SecondStartInsideTheWaitIsRefused) {
    state.CardConnected1 = true;
    duringWait = [&] { window->TaskStart_Click(); };
    window->TaskStart_Click();
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(cm.sent, (Wire{"@TA00\r", "@N\r"}));
}

TEST_F(TaskControlTest, StopInsideTheWaitRunsAfterItAndNoStartFollows) {
    state.CardConnected1 = true;
    state.CardConnected2 = true;
    duringWait = [&] {
        window->TaskStop_Click();
        // Nothing may go out while the start is still unwinding.
        EXPECT_EQ(cm.sent, Wire{"@TA00\r"});
    };
    window->TaskStart_Click();
    EXPECT_EQ(waits, 1);
    EXPECT_EQ(cm.sent, (Wire{"@TA00\r", "@F\r"}));
    EXPECT_EQ(cm2.sent, Wire{"@F\r"});
    EXPECT_FALSE(state.TaskRunning1);
    EXPECT_FALSE(state.TaskRunning2);
    EXPECT_TRUE(window->TaskStart->isEnabled());
    EXPECT_FALSE(window->TaskStop->isEnabled());
}

TEST_F(TaskControlTest, CloseInsideTheWaitShutsDownOnceAfterTheWait) {
    state.CardConnected1 = true;
    state.CardConnected2 = true;
    duringWait = [&] {
        window->close();
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(cm.sent, Wire{"@TA00\r"});
    };
    window->TaskStart_Click();
    EXPECT_EQ(waits, 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(cm.sent, (Wire{"@TA00\r", "@F\r"}));
    EXPECT_EQ(cm2.sent, Wire{"@F\r"});

    window->close();
    window->TaskStart_Click();
    EXPECT_EQ(cm.sent, (Wire{"@TA00\r", "@F\r"}));
    EXPECT_EQ(cm2.sent, Wire{"@F\r"});
}

// The real wait keeps the event loop running: here a queued event ends it, as the
// delay timer would, and no real time passes.
TEST_F(TaskControlTest, RealWaitProcessesPendingEventsUntilTheDelayHasElapsed) {
    AcquisitionState ownState;
    ownState.CardConnected1 = true;
    FakeSerialPort port1;
    FakeSerialPort port2;
    mdiDaq own(ownState, port1, port2, dialogs, clock);
    bool ranInsideWait = false;
    QTimer::singleShot(0, &own, [&] {
        ranInsideWait = port1.sent.size() == 1;
        own.tmrDelay_Timer();
    });
    own.TaskStart_Click();
    EXPECT_TRUE(ranInsideWait);
    EXPECT_TRUE(own.DelayElapsed);
    EXPECT_EQ(port1.sent, (Wire{"@TA00\r", "@N\r"}));
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
