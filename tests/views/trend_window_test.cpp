#include <gtest/gtest.h>

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTimer>

#include "engine/AcquisitionState.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "views/ui/FilledShape.h"
#include "views/ui/TrendSurface.h"
#include "views/ui/frmTrend.h"

namespace vantrel {
namespace {

class TrendWindowTest : public ::testing::Test {
  protected:
    TrendWindowTest() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        clock.current = {2026, 12, 6, 8, 30, 0};
    }
    ~TrendWindowTest() override { QLocale::setDefault(saved); }

    QLocale saved;
    AcquisitionState state;
    testing::FakeClock clock;
    testing::FakeDialogs dialogs;
    frmTrend window{state, clock, dialogs};
};

TEST_F(TrendWindowTest, OpensWithTheDocumentedControls) {
    EXPECT_EQ(window.windowTitle(), "Real Time Trend");
    ASSERT_EQ(window.cmbPoints->count(), 5);
    EXPECT_EQ(window.cmbPoints->itemText(4), "500");
    EXPECT_EQ(window.cmbPoints->currentIndex(), 0);
    EXPECT_FALSE(window.cmbPoints->isEditable()) << "picks only: N stays one of the five";
    EXPECT_FALSE(window.cmbColor->isEditable());
    ASSERT_EQ(window.cmbColor->count(), 16);
    EXPECT_EQ(window.cmbColor->itemText(15), "Channel 15");
    EXPECT_EQ(window.txtRange->text(), "100");
    EXPECT_EQ(window.lblChannel[7]->text(), "Channel 7");
    EXPECT_EQ(window.tmrTrend->interval(), 1000);
    for (FilledShape* swatch : window.shpColor) {
        EXPECT_EQ(swatch->fillColor(), window.shpColor[0]->fillColor());
        EXPECT_EQ(swatch->accessibleDescription(), swatch->fillColor().name().toUpper());
    }
}

TEST_F(TrendWindowTest, TickFillsTheSurfaceAndEveryValueLabel) {
    state.PlotChannel[1] = true;
    state.InputType[1] = 4;
    state.ChannelValue[1] = 23.456f;
    state.InputType[2] = 0;
    state.ChannelValue[2] = 1.005f;
    state.InputType[3] = 6;
    state.ChannelValue[3] = 410.7f;
    window.tmrTrend_Timer();
    EXPECT_EQ(window.lblData[1]->text(), "23.5");
    EXPECT_EQ(window.lblData[2]->text(), "1.00");
    EXPECT_EQ(window.lblData[3]->text(), "411");
    const TrendDrawing& drawing = window.pic->drawing();
    EXPECT_EQ(drawing.texts.at(0).text, "08:30:00");
    EXPECT_EQ(drawing.texts.at(1).text, "08:29:50");
    EXPECT_EQ(drawing.lines.size(), 10u);
}

TEST_F(TrendWindowTest, PointsAndRangeControlsDriveTheModel) {
    window.cmbPoints->setCurrentIndex(3);
    EXPECT_EQ(window.model().TrendPoints, 200);
    EXPECT_EQ(window.model().TrendStartOffset, -200);

    window.txtRange->setText("-3");
    window.cmdRangeSet_Click();
    EXPECT_EQ(window.txtRange->text(), "1");
    EXPECT_EQ(window.model().TrendRange, 1.0f);

    window.txtRange->setText("250");
    window.cmdRangeSet_Click();
    EXPECT_EQ(window.txtRange->text(), "250");
    EXPECT_EQ(window.model().TrendRange, 250.0f);
}

TEST_F(TrendWindowTest, ColourChangeOnAnUnplottedChannelChangesOnlyItsSwatch) {
    const QColor before = window.shpColor[0]->fillColor();
    window.cmbColor->setCurrentIndex(3);
    dialogs.colorAnswers.push_back(platform::Rgb{255, 128, 0});
    window.cmdChangeColor_Click();
    EXPECT_EQ(window.shpColor[3]->fillColor(), QColor(255, 128, 0));
    EXPECT_EQ(window.shpColor[3]->accessibleDescription(), "#FF8000");
    for (int n = 0; n < kUsedChannels; ++n) {
        if (n != 3) {
            EXPECT_EQ(window.shpColor[static_cast<std::size_t>(n)]->fillColor(), before) << n;
        }
    }
    window.tmrTrend_Timer();
    EXPECT_TRUE(window.pic->drawing().lines.empty());
}

TEST_F(TrendWindowTest, CancelledColourDialogKeepsTheSwatchColour) {
    window.cmbColor->setCurrentIndex(5);
    dialogs.colorAnswers.push_back(platform::Rgb{0, 0, 255});
    window.cmdChangeColor_Click();
    dialogs.colorAnswers.push_back(std::nullopt);
    window.cmdChangeColor_Click();
    EXPECT_EQ(window.shpColor[5]->fillColor(), QColor(0, 0, 255));
    ASSERT_EQ(dialogs.colorRequests.size(), 2u);
    EXPECT_EQ(dialogs.colorRequests[1], (platform::Rgb{0, 0, 255}))
        << "starts at the current colour";
}

TEST_F(TrendWindowTest, PlottedChannelIsDrawnInItsNewColourFromTheNextTick) {
    state.PlotChannel[6] = true;
    window.cmbColor->setCurrentIndex(6);
    dialogs.colorAnswers.push_back(platform::Rgb{10, 20, 30});
    window.cmdChangeColor_Click();
    window.tmrTrend_Timer();
    for (const TrendLine& line : window.pic->drawing().lines) {
        EXPECT_EQ(line.color, (platform::Rgb{10, 20, 30}));
    }
}

// Values far outside the range put end points at huge or infinite coordinates;
// the painter must still draw the visible part of the chart.
TEST_F(TrendWindowTest, ExtremeValuesPaintWithoutTrouble) {
    state.PlotChannel[0] = true;
    window.tmrTrend_Timer();
    state.ChannelValue[0] = 3.0e38f;
    window.tmrTrend_Timer();
    state.ChannelValue[0] = -3.0e38f;
    window.tmrTrend_Timer();
    QImage image(600, 200, QImage::Format_RGB32);
    QPainter painter(&image);
    TrendSurface::paint(painter, image.rect(), TrendGrid(), window.pic->drawing());
    painter.end();
    // The last segment runs from far above the surface to equally far below it,
    // so it crosses the middle of the surface halfway between its two samples.
    const QColor swatch = window.shpColor[0]->fillColor();
    const int x = static_cast<int>(600.0 * 10500.0 / 12000.0);
    int hits = 0;
    for (int dx = -3; dx <= 3; ++dx) {
        hits += image.pixelColor(x + dx, 100) == swatch ? 1 : 0;
    }
    EXPECT_GT(hits, 0);
}

}  // namespace
}  // namespace vantrel
