// Guards the fit of the windows on a small screen: a main window that opens at a
// fixed size instead of filling the work area, a cascade step that is off by one
// or does not start over at the area's edge (child windows then stack on one spot
// or open out of reach), and configuration or calibration windows that are cut
// off, hiding their last buttons, when the work area is smaller than they are.
#include <QAction>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <string>
#include <tuple>

#include "app/CascadePlacement.h"
#include "tests/app/MainWindowFixture.h"

namespace vantrel::testing {
namespace {

TEST(CascadeTest, TakesTheFirstFreeStepAndStartsOverAtTheEdge) {
    const QSize window(300, 200);
    const QSize area(380, 280);  // room for steps 0..4 of 20 pixels
    const struct {
        QList<QPoint> taken;
        QSize window;
        QPoint expected;
    } cases[] = {
        {{}, window, {0, 0}},
        {{{0, 0}}, window, {20, 20}},
        {{{0, 0}, {40, 40}}, window, {20, 20}},  // a closed window's step is reused
        {{{0, 0}, {20, 20}, {40, 40}, {60, 60}}, window, {80, 80}},
        {{{0, 0}, {20, 20}, {40, 40}, {60, 60}, {80, 80}}, window, {0, 0}},
        {{{0, 0}}, QSize(500, 200), {0, 0}},  // wider than the area
        {{{0, 0}}, QSize(300, 301), {0, 0}},  // taller than the area
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextCascadePosition(c.taken, c.window, area, 20), c.expected)
            << c.taken.size() << " taken, window " << c.window.width() << "x" << c.window.height();
    }
}

using WindowFitTest = MainWindowFixture;

TEST_F(WindowFitTest, MainWindowOpensMaximisedAndChildrenCascade) {
    window->Form_Load();  // opens the status window
    EXPECT_TRUE(window->isMaximized());
    window->findChild<QAction*>(QStringLiteral("OptionsCardComm"))->trigger();

    const QList<QMdiSubWindow*> frames = window->mdiArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(frames.size(), 2);
    EXPECT_EQ(frames[0]->pos(), QPoint(0, 0));
    EXPECT_GT(frames[1]->pos().x(), 0);
    EXPECT_EQ(frames[1]->pos().x(), frames[1]->pos().y());
}

class SmallWorkAreaTest
    : public MainWindowFixture,
      public ::testing::WithParamInterface<std::tuple<std::string, std::string>> {};

TEST_P(SmallWorkAreaTest, WindowFitsAndItsLastButtonScrollsIntoSight) {
    const auto [menuItem, lastButton] = GetParam();
    window->Form_Load();
    window->showNormal();
    window->resize(560, 360);
    window->findChild<QAction*>(QString::fromStdString(menuItem))->trigger();

    QWidget* viewport = window->mdiArea()->viewport();
    QMdiSubWindow* frame = window->mdiArea()->subWindowList(QMdiArea::CreationOrder).last();
    EXPECT_TRUE(viewport->rect().contains(frame->geometry()));
    auto* scroll = frame->findChild<QScrollArea*>(QStringLiteral("scrollPage"));
    ASSERT_NE(scroll, nullptr);
    auto* button = frame->findChild<QPushButton*>(QString::fromStdString(lastButton));
    ASSERT_NE(button, nullptr);
    scroll->ensureWidgetVisible(button);
    const QRect shown(button->mapTo(scroll->viewport(), QPoint(0, 0)), button->size());
    EXPECT_TRUE(scroll->viewport()->rect().contains(shown));
}

INSTANTIATE_TEST_SUITE_P(ConfigurationAndCalibration, SmallWorkAreaTest,
                         ::testing::Values(std::make_tuple("OptionsCardConfig_0", "cmdSaveToDisk"),
                                           std::make_tuple("OptionsCalibrate_0", "cmdClose")));

}  // namespace
}  // namespace vantrel::testing
