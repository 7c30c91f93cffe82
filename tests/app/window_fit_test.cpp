// Guards the fit of the windows on a small screen: a main window that does not
// fill the work area, a cascade step off by one or not starting over at the area's
// edge, and configuration or calibration windows cut off, hiding their last button.
#include <QAction>
#include <QPushButton>
#include <QScrollArea>

#include "app/CascadePlacement.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/Controls.h"

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
        {{{0, 0}, {40, 40}}, window, {20, 20}},  // a closed window's step is reused
        {{{0, 0}, {20, 20}, {40, 40}, {60, 60}}, window, {80, 80}},
        {{{0, 0}, {20, 20}, {40, 40}, {60, 60}, {80, 80}}, window, {0, 0}},
        {{{0, 0}}, QSize(300, 301), {0, 0}},  // taller than the area
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NextCascadePosition(c.taken, c.window, area, 20), c.expected) << c.taken.size();
    }
}

using WindowFitTest = MainWindowFixture;

TEST_F(WindowFitTest, MainWindowFillsTheScreenAndSmallAreasScrollToTheLastButton) {
    window->Form_Load();
    EXPECT_TRUE(window->isMaximized());
    window->showNormal();
    window->resize(560, 360);
    for (const auto& [item, lastButton] : {std::pair{"OptionsCardConfig_0", "cmdSaveToDisk"},
                                           std::pair{"OptionsCalibrate_0", "cmdClose"}}) {
        Find<QAction>(*window, item).trigger();
        QMdiSubWindow* frame = window->mdiArea()->subWindowList(QMdiArea::CreationOrder).last();
        EXPECT_TRUE(window->mdiArea()->viewport()->rect().contains(frame->geometry())) << item;
        auto& scroll = Find<QScrollArea>(*frame, "scrollPage");
        auto& button = Find<QPushButton>(*frame, lastButton);
        scroll.ensureWidgetVisible(&button);
        const QRect shown(button.mapTo(scroll.viewport(), QPoint(0, 0)), button.size());
        EXPECT_TRUE(scroll.viewport()->rect().contains(shown)) << item;
    }
}

}  // namespace
}  // namespace vantrel::testing
